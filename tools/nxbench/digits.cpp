#include "digits.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace digits {

namespace {

std::string ReadCompressed(const std::string& fileName) {
  gzFile file = gzopen(fileName.c_str(), "rb");
  if (!file) throw std::runtime_error("cannot open " + fileName);
  std::string text;
  char buffer[1 << 16];
  int got = 0;
  while ((got = gzread(file, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
  const bool failed = got < 0;
  gzclose(file);
  if (failed) throw std::runtime_error(fileName + " is not a readable gzip file");
  return text;
}

void AddLine(nx::DataSet& data, const std::string& line, unsigned lineNumber, const std::string& fileName) {
  std::vector<double> values;
  const char* p = line.c_str();
  while (*p) {
    char* end = nullptr;
    values.push_back(std::strtod(p, &end));
    if (end == p) break;
    p = *end == ',' ? end + 1 : end;
  }
  const double label = values.empty() ? -1 : values.back();
  if (values.size() != 65 || label < 0 || label > 9 || label != static_cast<int>(label))
    throw std::runtime_error(fileName + " line " + std::to_string(lineNumber) +
                             " is not 64 pixels and a digit");
  std::vector<double> targets(10, 0.0);
  targets[static_cast<size_t>(label)] = 1.0;
  data.Add(std::span<const double>(values.data(), 64), targets);
}

}  // namespace

std::optional<nx::DataSet> Load(const std::string& fileName) {
  struct stat info;
  if (stat(fileName.c_str(), &info) != 0) return std::nullopt;
  const std::string text = ReadCompressed(fileName);
  nx::DataSet data(64, 10);
  size_t start = 0;
  unsigned lineNumber = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    ++lineNumber;
    if (end > start) AddLine(data, text.substr(start, end - start), lineNumber, fileName);
    start = end + 1;
  }
  if (data.Size() <= TRAINING_ROWS) throw std::runtime_error(fileName + " holds too few images");
  return data;
}

}  // namespace digits
