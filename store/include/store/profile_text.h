#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a settings file: "[Section]" headers and "key=value" lines.
// Section and key names match without regard to case; the first matching
// section and key win. Changing a value rewrites only its own line, so
// comments, blank lines and unknown keys stay as they were. A leading UTF-8
// byte-order mark is skipped.
class ProfileText {
 public:
  explicit ProfileText(std::string_view text = {});

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // False when there was no such key.
  bool Remove(std::string_view section, std::string_view key);
  // Every key of a section, in file order.
  std::vector<std::string> Keys(std::string_view section) const;

  std::string Text() const;
  // Whether any line is a section header or a key line: a text without one
  // is no settings file at all.
  bool HasSectionOrKey() const;

 private:
  struct Span {
    size_t Header;  // line of the section header
    size_t End;     // one past its last line
  };
  std::optional<Span> FindSection(std::string_view section) const;
  std::optional<size_t> FindKey(const Span& span, std::string_view key) const;

  std::vector<std::string> Lines;
};

// Names that cannot be written without changing the file's structure.
bool IsStorableProfileName(std::string_view name);

// How ProfileText takes a single line, for the checks that must agree
// with it: the name of a "[Section]" line, and the key and value of a
// "key=value" line (blanks around either dropped, and one pair of quotes
// around the value). Names compare without regard to case.
std::optional<std::string_view> ProfileSectionName(std::string_view line);
struct ProfileKeyLine {
  std::string_view Key;
  std::string_view Value;
};
std::optional<ProfileKeyLine> ParseProfileKeyLine(std::string_view line);
bool SameProfileName(std::string_view a, std::string_view b);
