// Data sets of the checked layer, and their pattern files: one pattern a
// line, so that a file meant for another network is refused at its first
// line instead of being read as patterns cut at the wrong places.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "neural/file.h"
#include "neural/message_error.h"
#include "neural/trainer.h"
#include "pattern_reader.h"

namespace nx {

namespace {

struct LineValues {
  size_t Count = 0;
  bool NotANumber = false;  // text other than numbers before any value
};

// Reads the values of one line into `out`, which takes at most `limit`;
// counting goes on past it, so that the message can say how many there were.
LineValues ParseLine(const std::string& line, double* out, size_t limit) {
  LineValues result;
  size_t open = line.find('(');
  const char* p = line.c_str() + (open == std::string::npos ? 0 : open + 1);
  for (;;) {
    while (*p == ' ' || *p == '\t' || *p == '\r') ++p;
    if (*p == '\0') break;
    char* end = nullptr;
    const double value = std::strtod(p, &end);
    if (end == p || !std::isfinite(value)) {
      // What follows the values (a closing parenthesis, a comment) is no
      // pattern of its own.
      result.NotANumber = result.Count == 0;
      break;
    }
    if (result.Count < limit) out[result.Count] = value;
    ++result.Count;
    p = end;
  }
  return result;
}

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t\r\f\v") == std::string::npos; }

[[noreturn]] void FailLine(const std::string& fileName, const std::string& detail, unsigned lineNumber) {
  throw XCMessage("Pattern file " + fileName + ": " + detail + ", in line " + std::to_string(lineNumber));
}

}  // namespace

DataSet::DataSet(unsigned numInputs, unsigned numOutputs) : Inputs_(numInputs), Outputs_(numOutputs) {
  if (numInputs == 0) throw XCBase("a data set needs at least one input");
}

void DataSet::Add(std::span<const double> inputs, std::span<const double> targets) {
  if (inputs.size() != Inputs_) throw XCSizeMismatch("inputs", Inputs_, inputs.size());
  if (targets.size() != Outputs_) throw XCSizeMismatch("targets", Outputs_, targets.size());
  const auto finite = [](double value) { return std::isfinite(value); };
  if (!std::all_of(inputs.begin(), inputs.end(), finite) || !std::all_of(targets.begin(), targets.end(), finite))
    throw XCBase("a pattern value is not a finite number");
  Values.insert(Values.end(), inputs.begin(), inputs.end());
  Values.insert(Values.end(), targets.begin(), targets.end());
}

DataSet DataSet::Slice(size_t first, size_t count) const {
  DataSet part(Inputs_, Outputs_);
  if (first > Size()) first = Size();
  if (count > Size() - first) count = Size() - first;
  part.Values.assign(Values.begin() + first * Width(), Values.begin() + (first + count) * Width());
  return part;
}

DataSet DataSet::FromPatternFile(const std::string& fileName, const NxNeuralNet& net) {
  return FromPatternFile(fileName, net.GetNumInputs(), net.GetNumOutputs());
}

// Through the library's file wrapper, which refuses what is no regular
// file (a pipe, a device), and with the library's bounds on a line and on
// the values, so that no file can make the reading take all memory.
DataSet DataSet::FromPatternFile(const std::string& fileName, unsigned numInputs, unsigned numOutputs) {
  DataSet data(numInputs, numOutputs);
  NxFile file(fileName, "rb", true);
  const size_t width = data.Width();
  std::vector<double> row(width);
  nx_patterns::PatternReader reader(file, NxNeuralNet::MAX_PATTERN_LINE);
  while (reader.NextLine()) {
    const std::string& line = reader.GetLine();
    if (IsBlank(line)) continue;
    const LineValues values = ParseLine(line, row.data(), width);
    if (values.NotANumber) FailLine(fileName, "text that is not a number", reader.GetLineNumber());
    if (values.Count != width)
      FailLine(fileName, "expected " + std::to_string(width) + " values, found " + std::to_string(values.Count),
               reader.GetLineNumber());
    if (data.Values.size() + width > NxNeuralNet::MAX_PATTERN_VALUES)
      throw XCMessage("Pattern file " + fileName + " holds more than " +
                      std::to_string(NxNeuralNet::MAX_PATTERN_VALUES) + " values, more than the library reads");
    data.Values.insert(data.Values.end(), row.begin(), row.end());
  }
  if (reader.LineTooLong())
    FailLine(fileName, "a line longer than " + std::to_string(NxNeuralNet::MAX_PATTERN_LINE) + " characters",
             reader.GetLineNumber());
  file.FClose();
  if (data.Empty()) throw XCMessage("Pattern file " + fileName + " holds no pattern");
  return data;
}

void DataSet::WritePatternFile(const std::string& fileName) const {
  std::FILE* file = std::fopen(fileName.c_str(), "w");
  if (!file) throw XCFile(fileName, std::strerror(errno));
  for (size_t i = 0; i < Size(); ++i) {
    std::fputc('(', file);
    const std::span<const double> row = Row(i);
    for (size_t k = 0; k < row.size(); ++k) std::fprintf(file, "%s%.17g", k == Inputs_ ? "  " : k ? " " : "", row[k]);
    std::fputc('\n', file);
  }
  const bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed) throw XCFile(fileName, "the patterns could not be written");
}

}  // namespace nx
