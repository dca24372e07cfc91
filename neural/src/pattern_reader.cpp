#include "pattern_reader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "neural/file.h"

namespace nx_patterns {

const char* const BLANK = " \t\r\n\v\f";

PatternReader::PatternReader(NxFile& file, size_t maxLineLength) : File(file), MaxLineLength(maxLineLength) {}

bool PatternReader::FillBuffer() {
  BufferPosition = 0;
  BufferEnd = File.FRead(Buffer.data(), 1, static_cast<unsigned>(Buffer.size()));
  return BufferEnd > 0;
}

// Whole lines, so that no value is ever cut in two; the limit keeps a file
// without line breaks (or a device) from taking all memory.
bool PatternReader::NextLine() {
  HaveLine = false;
  if (TooLong) return false;
  Line.clear();
  bool any = false;
  for (;;) {
    if (BufferPosition == BufferEnd && !FillBuffer()) break;
    any = true;
    const char* begin = Buffer.data() + BufferPosition;
    const char* end = Buffer.data() + BufferEnd;
    const char* newline = static_cast<const char*>(std::memchr(begin, '\n', size_t(end - begin)));
    const char* stop = newline ? newline : end;
    if (Line.size() + size_t(stop - begin) > MaxLineLength) {
      ++LineNumber;
      TooLong = true;
      return false;
    }
    Line.append(begin, stop);
    BufferPosition = size_t(stop - Buffer.data()) + (newline ? 1 : 0);
    if (newline) break;
  }
  if (!any) return false;
  ++LineNumber;
  Position = 0;
  OpenAt = Line.find('(');
  HaveLine = true;
  ValueReadOnLine = false;
  return true;
}

bool PatternReader::SkipBlank() {
  for (;;) {
    if (HaveLine) {
      Position = Line.find_first_not_of(BLANK, Position);
      if (Position != std::string::npos) return true;
    }
    if (!NextLine()) return false;
  }
}

bool PatternReader::RestStartsWithNumber() const {
  const char* start = Line.c_str() + Position;
  char* end = nullptr;
  std::strtod(start, &end);
  return end != start;
}

size_t PatternReader::NextOpen() {
  if (OpenAt != std::string::npos && OpenAt < Position) OpenAt = Line.find('(', Position);
  return OpenAt;
}

bool PatternReader::StartPattern() {
  // What follows the last value of a pattern on its line (a closing
  // parenthesis, a comment) is not read as the next pattern.
  if (HaveLine && ValueReadOnLine && NextOpen() == std::string::npos && !RestStartsWithNumber()) HaveLine = false;
  if (!SkipBlank()) return false;
  size_t open = NextOpen();
  if (open != std::string::npos) Position = open + 1;
  return true;
}

PatternReader::Result PatternReader::ReadValue(double& value) {
  if (!SkipBlank()) return TooLong ? LINE_TOO_LONG : END_OF_FILE;
  const char* start = Line.c_str() + Position;
  char* end = nullptr;
  value = std::strtod(start, &end);
  if (end == start || !std::isfinite(value)) return NOT_A_NUMBER;
  ValueReadOnLine = true;
  size_t next = Line.find_first_of(" \t(", size_t(end - Line.c_str()));
  if (next == std::string::npos)
    HaveLine = false;
  else
    Position = Line[next] == '(' ? next : next + 1;
  return VALUE;
}

}  // namespace nx_patterns
