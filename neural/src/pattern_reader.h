#pragma once

#include <string>

class NxFile;

namespace nx_patterns {

// Reads the numbers of a pattern file: lines of at most 255 characters
// (longer lines arrive in pieces), values separated by white space, and at
// the start of each pattern everything up to and including a '(' on the
// current line skipped.
class PatternReader {
 public:
  enum Result { VALUE, END_OF_FILE, NOT_A_NUMBER };

  explicit PatternReader(NxFile& file);

  // Moves to where the next pattern begins; false at the end of the file.
  bool StartPattern();
  Result ReadValue(double& value);
  unsigned GetLineNumber() const { return LineNumber; }

 private:
  static constexpr int LINE_SIZE = 256;

  bool NextLine();
  // Skips white space, loading lines while the rest of one is blank.
  bool SkipBlank();

  NxFile& File;
  char Line[LINE_SIZE];
  const char* Position;
  unsigned LineNumber;
  bool LineEnded;
};

}  // namespace nx_patterns
