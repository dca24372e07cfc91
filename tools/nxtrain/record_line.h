#pragma once

#include <cstddef>

#include "neural/training_output.h"

// One training record as nxtrain prints it: the same text as
//   printf("%8u  %12.6f  %12.6f  %12.6f  %7u\n", ...)
// built with std::to_chars, several times faster than printf's conversion
// of a double, which is most of the reporting a tiny net does between
// epochs.
class RecordLine {
 public:
  explicit RecordLine(const NxTrainingOutput& record);
  const char* data() const { return Text; }
  size_t size() const { return Length; }

 private:
  void PutRight(const char* text, size_t length, size_t width);
  void PutUnsigned(unsigned value, size_t width);
  void PutFixed(double value, size_t width);
  void PutSpaces(size_t count);

  // Room for three doubles of any size in full, for which %f writes over
  // 300 digits, and the rest of the line.
  char Text[1200];
  size_t Length = 0;
};
