#include <memory>
#include <vector>

#include "neural/backprop_net.h"
#include "neural/file.h"
#include "pattern_reader.h"

using nx_patterns::PatternReader;

void NxNeuralNet::ReadIOPatterns(const char* fileName, unsigned count) {
  NxFile file(fileName, "rb", true);
  ReadIOPatterns(file, count);
  file.FClose();
}

// Rows are allocated as the file delivers them, so a count far beyond the
// file costs nothing; the file itself is bounded by MAX_PATTERN_VALUES.
void NxNeuralNet::ReadIOPatterns(NxFile& file, unsigned count) {
  SetIOPatterns(nullptr, 0, false);
  const unsigned width = NumInputs + NumOutputs;
  const std::string& name = file.GetFileName();
  if (width == 0) Fail("Pattern file %s cannot be read for a network without nodes", name.c_str());
  file.FSeek(0, 0);
  PatternReader reader(file, MAX_PATTERN_LINE);
  std::vector<std::unique_ptr<double[]>> rows;
  PatternReader::Result result = PatternReader::VALUE;
  unsigned partial = 0;  // values of the pattern the reading stopped in
  while ((count == 0 || rows.size() < count) && reader.StartPattern()) {
    if ((rows.size() + 1) * width > MAX_PATTERN_VALUES)
      Fail("Pattern file %s holds more than %u values, more than the library reads", name.c_str(),
           MAX_PATTERN_VALUES);
    std::unique_ptr<double[]> row(new double[width]);
    while (partial < width && (result = reader.ReadValue(row[partial])) == PatternReader::VALUE) ++partial;
    if (result != PatternReader::VALUE) break;
    rows.push_back(std::move(row));
    partial = 0;
  }
  if (reader.LineTooLong())
    Fail("Line %u of pattern file %s is longer than %u characters, more than the library reads",
         reader.GetLineNumber(), name.c_str(), MAX_PATTERN_LINE);
  const unsigned complete = static_cast<unsigned>(rows.size());
  if (result == PatternReader::NOT_A_NUMBER && complete == 0)
    Fail("Pattern file %s has text that is not a number in line %u", name.c_str(), reader.GetLineNumber());
  if (complete == 0)
    Fail("Pattern file %s holds no complete pattern of %u values (%u values read)", name.c_str(), width, partial);
  if (result == PatternReader::NOT_A_NUMBER)
    Warn("Pattern file %s has text that is not a number in line %u.  Reading stopped after %u complete patterns.",
         name.c_str(), reader.GetLineNumber(), complete);
  else if (partial > 0)
    // The numbers come first: a long file name may not fit the warning.
    Warn("Pattern %u is cut short: %llu values do not fill whole patterns of %u values.  Reading kept the %u "
         "complete patterns of %s.",
         complete + 1, static_cast<unsigned long long>(complete) * width + partial, width, complete, name.c_str());
  else if (count != 0 && complete < count)
    Warn("Pattern file %s ended after %u complete patterns; %u were requested.", name.c_str(), complete, count);

  double** table = new double*[complete];
  for (unsigned i = 0; i < complete; ++i) table[i] = rows[i].release();
  SetIOPatterns(table, complete, true);
}
