#include "pattern_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "neural/file.h"

namespace nx_patterns {

PatternReader::PatternReader(NxFile& file) : File(file), Position(nullptr), LineNumber(0), LineEnded(true) {
  Line[0] = '\0';
}

bool PatternReader::NextLine() {
  if (!File.FGets(Line, LINE_SIZE)) {
    Position = nullptr;
    return false;
  }
  if (LineEnded) ++LineNumber;
  size_t length = std::strlen(Line);
  LineEnded = length > 0 && Line[length - 1] == '\n';
  Position = Line;
  return true;
}

bool PatternReader::SkipBlank() {
  if (!Position && !NextLine()) return false;
  for (;;) {
    while (*Position && std::isspace(static_cast<unsigned char>(*Position))) ++Position;
    if (*Position) return true;
    if (!NextLine()) return false;
  }
}

bool PatternReader::StartPattern() {
  if (!SkipBlank()) return false;
  if (const char* open = std::strchr(Position, '(')) Position = open + 1;
  return true;
}

PatternReader::Result PatternReader::ReadValue(double& value) {
  if (!SkipBlank()) return END_OF_FILE;
  char* end = nullptr;
  value = std::strtod(Position, &end);
  if (end == Position || !std::isfinite(value)) return NOT_A_NUMBER;
  Position = end;
  return VALUE;
}

}  // namespace nx_patterns
