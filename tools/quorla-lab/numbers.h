#pragma once

#include <string>
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

// The refusal of a number, saying what is allowed.
inline std::string RangeRefusal(std::string_view option, unsigned long low, unsigned long high,
                                std::string_view value) {
  return std::string(option) + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
         ", not '" + std::string(value) + "'";
}

// The largest seed of the game's random generator.
constexpr unsigned long MAX_SEED = 714024;
