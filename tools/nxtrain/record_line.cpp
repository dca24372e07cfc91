#include "record_line.h"

#include <charconv>
#include <cstdio>
#include <cstring>

RecordLine::RecordLine(const NxTrainingOutput& record) {
  PutUnsigned(record.Epoch, 8);
  PutSpaces(2);
  PutFixed(record.MaxError, 12);
  PutSpaces(2);
  PutFixed(record.MeanAbsError, 12);
  PutSpaces(2);
  PutFixed(record.RmsError, 12);
  PutSpaces(2);
  PutUnsigned(record.WorstPattern, 7);
  Text[Length++] = '\n';
  Text[Length] = '\0';
}

void RecordLine::PutSpaces(size_t count) {
  std::memset(Text + Length, ' ', count);
  Length += count;
}

// As printf pads a field: on the left, up to the width, never cut.
void RecordLine::PutRight(const char* text, size_t length, size_t width) {
  if (length < width) PutSpaces(width - length);
  std::memcpy(Text + Length, text, length);
  Length += length;
}

void RecordLine::PutUnsigned(unsigned value, size_t width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  PutRight(digits, static_cast<size_t>(end - digits), width);
}

// Six decimals, rounded as printf rounds them; to_chars writes "inf" and
// "nan" as printf does too.
void RecordLine::PutFixed(double value, size_t width) {
  char digits[400];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
  if (error == std::errc{}) {
    PutRight(digits, static_cast<size_t>(end - digits), width);
    return;
  }
  const int length = std::snprintf(digits, sizeof digits, "%.6f", value);
  PutRight(digits, length > 0 ? static_cast<size_t>(length) : 0, width);
}
