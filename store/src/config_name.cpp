#include "store/config_name.h"

#include <cctype>
#include <cstdint>

namespace {

// Decodes the character at `at` and moves past it; false for bytes that are
// not well-formed UTF-8 (overlong forms and surrogates included).
bool NextCodePoint(std::string_view text, size_t& at, uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return false;
  code = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return false;
    code = code << 6 | (byte(at + i) & 0x3F);
  }
  static const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  at += length;
  return true;
}

bool IsControl(uint32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

}  // namespace

std::string TrimName(std::string_view name) {
  size_t first = 0, last = name.size();
  while (first < last && std::isspace(static_cast<unsigned char>(name[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(name[last - 1]))) --last;
  return std::string(name.substr(first, last - first));
}

bool IsValidConfigName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.front() == '.' || name.front() == ' ') return false;
  size_t characters = 0;
  for (size_t at = 0; at < name.size(); ++characters) {
    uint32_t code;
    if (!NextCodePoint(name, at, code) || IsControl(code) || code == '/' || code == '\\') return false;
  }
  return characters <= MAX_CONFIG_NAME;
}

std::string ConfigDirectoryName(std::string_view name) {
  std::string upper(name);
  for (size_t i = 0; i < upper.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(upper[i]);
    if (c < 0x80) {
      upper[i] = static_cast<char>(std::toupper(c));
    } else if (c == 0xC3 && i + 1 < upper.size()) {
      // U+00E0..U+00FE are the small Latin-1 letters (U+00F7 is the division
      // sign); each capital is 0x20 lower, in the second byte.
      unsigned char second = static_cast<unsigned char>(upper[i + 1]);
      if (second >= 0xA0 && second <= 0xBE && second != 0xB7) upper[i + 1] = static_cast<char>(second - 0x20);
      ++i;
    }
  }
  return upper;
}

bool IsReservedConfigName(std::string_view name) { return ConfigDirectoryName(name) == "DEFAULT"; }
