#pragma once

#include <string_view>

// A whole decimal number from the command line, at most `limit`; false for
// anything else (signs, spaces, empty text, overflow).
inline bool ParseWholeNumber(std::string_view text, unsigned long& value, unsigned long limit) {
  if (text.empty() || text.size() > 12) return false;
  unsigned long parsed = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    parsed = parsed * 10 + static_cast<unsigned long>(c - '0');
  }
  if (parsed > limit) return false;
  value = parsed;
  return true;
}
