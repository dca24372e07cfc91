#include "store/settings_check.h"

#include <algorithm>
#include <cstdio>

#include "store/profile_text.h"

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr std::string_view TYPE_TAGS[] = {"dword:", "sz:"};

// Tab is written by people and kept by the reader; every other control
// byte is foreign to text.
bool IsControlByte(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Well-formed UTF-8: no stray continuation bytes, no cut sequences, no
// overlong forms, surrogates or code points above U+10FFFF.
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// A value as a fault names it: long ones cut, at a character boundary.
std::string Shortened(std::string_view value) {
  constexpr size_t SHOWN = 40;
  if (value.size() <= SHOWN) return std::string(value);
  size_t end = SHOWN;
  while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) --end;
  return std::string(value.substr(0, end)) + "...";
}

bool HasTypeTag(std::string_view value) {
  for (std::string_view tag : TYPE_TAGS)
    if (value.substr(0, tag.size()) == tag) return true;
  return false;
}

class Checker {
 public:
  Checker(bool typedValues, const SettingValueRule& rule) : TypedValues(typedValues), Rule(rule) {}

  // One line as the reader splits them, without its line end.
  void TakeLine(std::string_view line, size_t number) {
    Number = number;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const auto c = static_cast<unsigned char>(line[i]);
      if (!IsControlByte(c)) continue;
      char what[40];
      std::snprintf(what, sizeof what, c == 0 ? "a NUL byte" : "a control byte (0x%02X)", c);
      Fail(what);
      TakePiece(line.substr(start, i - start));
      start = i + 1;
    }
    TakePiece(line.substr(start));
  }

  void Fail(const std::string& what) {
    if (!Check.Sound) return;
    Check.Sound = false;
    Check.Fault = "line " + std::to_string(Number) + ": " + what;
  }

  SettingsCheck Result() && { return std::move(Check); }

 private:
  void TakePiece(std::string_view piece) {
    if (!IsUtf8(piece)) return Foreign("not UTF-8 text");
    const std::string_view text = TrimBlanks(piece);
    if (text.empty() || text.front() == ';' || text.front() == '#') return;
    if (text.front() == '[') {
      const std::string_view inner =
          text.back() == ']' ? TrimBlanks(text.substr(1, text.size() - 2)) : std::string_view{};
      if (!IsStorableProfileName(inner)) return Foreign("a broken section header");
      Section = *ProfileSectionName(text);
      InSection = true;
      Keep(piece);
      return;
    }
    const auto keyLine = ParseProfileKeyLine(text);
    if (!keyLine || !IsStorableProfileName(keyLine->Key))
      return Foreign("neither a section header, a key line, a comment nor blank");
    // Before the first header, or after a line that may have been one.
    if (!InSection) return Fail("a key line outside any section");
    const std::string shown = std::string(keyLine->Key) + "=" + Shortened(keyLine->Value);
    if (TypedValues && !HasTypeTag(keyLine->Value)) return Fail(shown + ": a value without its type tag");
    if (Rule && !Rule(Section, keyLine->Key, keyLine->Value)) return Fail(shown + ": a value the program cannot use");
    Keep(piece);
    ++Check.SalvagedKeys;
  }

  void Foreign(const char* what) {
    Fail(what);
    InSection = false;
  }

  void Keep(std::string_view piece) {
    Check.Salvaged.append(piece);
    Check.Salvaged += '\n';
  }

  bool TypedValues;
  const SettingValueRule& Rule;
  SettingsCheck Check;
  size_t Number = 0;
  std::string Section;
  bool InSection = false;
};

}  // namespace

bool IsSettingsText(std::string_view text) {
  return IsUtf8(text) &&
         std::none_of(text.begin(), text.end(), [](char c) { return IsControlByte(static_cast<unsigned char>(c)); });
}

SettingsCheck CheckSettingsText(std::string_view bytes, bool typedValues, const SettingValueRule& rule) {
  // The writer never leaves a file without a single line.
  if (bytes.empty()) return {false, "an empty file", "", 0};
  Checker checker(typedValues, rule);
  if (bytes.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK) bytes.remove_prefix(BYTE_ORDER_MARK.size());
  size_t number = 1;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    // Only a CR that ends a line is a line end; a lone one is a control byte.
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    checker.TakeLine(line, number++);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return std::move(checker).Result();
}
