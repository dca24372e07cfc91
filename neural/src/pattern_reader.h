#pragma once

#include <cstddef>
#include <string>
#include <vector>

class NxFile;

namespace nx_patterns {

// Reads the numbers of a pattern file. Lines may be of any length up to a
// limit. At the start of each pattern everything on the current line up to
// and including a '(' is skipped. After each value the reader moves past the
// next space or tab on the same line, or, when there is none, to the start
// of the next line; a '(' met on the way is left for the next pattern.
class PatternReader {
 public:
  enum Result { VALUE, END_OF_FILE, NOT_A_NUMBER, LINE_TOO_LONG };

  PatternReader(NxFile& file, size_t maxLineLength);

  // Moves to where the next pattern begins; false at the end of the file
  // or at a line longer than the limit.
  bool StartPattern();
  Result ReadValue(double& value);
  // Moves to the next whole line, for readers that take a file line by
  // line; false at the end of the file or at a line longer than the limit.
  bool NextLine();
  const std::string& GetLine() const { return Line; }
  unsigned GetLineNumber() const { return LineNumber; }
  bool LineTooLong() const { return TooLong; }

 private:
  static constexpr size_t CHUNK_SIZE = 1u << 16;

  bool FillBuffer();
  // Skips white space, loading lines while the rest of one is blank.
  bool SkipBlank();
  bool RestStartsWithNumber() const;
  // Where the next '(' at or after the position lies; kept from one call to
  // the next, so that a long line is searched once, not once per pattern.
  size_t NextOpen();

  NxFile& File;
  const size_t MaxLineLength;
  std::vector<char> Buffer = std::vector<char>(CHUNK_SIZE);
  size_t BufferPosition = 0;
  size_t BufferEnd = 0;
  std::string Line;
  size_t Position = 0;
  size_t OpenAt = std::string::npos;
  bool HaveLine = false;
  bool ValueReadOnLine = false;
  bool TooLong = false;
  unsigned LineNumber = 0;
};

}  // namespace nx_patterns
