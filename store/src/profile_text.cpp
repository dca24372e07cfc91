#include "store/profile_text.h"

#include <algorithm>
#include <cctype>

namespace {

std::string_view Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

}  // namespace

bool SameProfileName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::string_view> ProfileSectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  size_t close = line.find(']');
  return Trim(line.substr(0, close));
}

std::optional<ProfileKeyLine> ParseProfileKeyLine(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() == ';') return std::nullopt;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  ProfileKeyLine parsed{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
  const std::string_view& v = parsed.Value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    parsed.Value = v.substr(1, v.size() - 2);
  return parsed;
}

bool IsStorableProfileName(std::string_view name) {
  if (Trim(name).empty() || Trim(name).size() != name.size()) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '\n' || c == '\r' || c == '=' || c == '[' || c == ']' || c == '\0';
  });
}

ProfileText::ProfileText(std::string_view text) {
  // Editors that save UTF-8 may put a byte-order mark before the first section.
  constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
  if (text.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK) text.remove_prefix(BYTE_ORDER_MARK.size());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Lines.emplace_back(line);
    start = end + 1;
  }
}

bool ProfileText::HasSectionOrKey() const {
  return std::any_of(Lines.begin(), Lines.end(),
                     [](const std::string& line) { return ProfileSectionName(line) || ParseProfileKeyLine(line); });
}

std::optional<ProfileText::Span> ProfileText::FindSection(std::string_view section) const {
  for (size_t i = 0; i < Lines.size(); ++i) {
    auto name = ProfileSectionName(Lines[i]);
    if (!name || !SameProfileName(*name, section)) continue;
    size_t end = i + 1;
    while (end < Lines.size() && !ProfileSectionName(Lines[end])) ++end;
    return Span{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> ProfileText::FindKey(const Span& span, std::string_view key) const {
  for (size_t i = span.Header + 1; i < span.End; ++i) {
    auto parsed = ParseProfileKeyLine(Lines[i]);
    if (parsed && SameProfileName(parsed->Key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileText::Get(std::string_view section, std::string_view key) const {
  auto span = FindSection(section);
  if (!span) return std::nullopt;
  auto line = FindKey(*span, key);
  if (!line) return std::nullopt;
  return std::string(ParseProfileKeyLine(Lines[*line])->Value);
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(value);
  auto span = FindSection(section);
  if (!span) {
    Lines.push_back("[" + std::string(section) + "]");
    Lines.push_back(line);
    return;
  }
  if (auto existing = FindKey(*span, key)) {
    Lines[*existing] = line;
    return;
  }
  // After the section's last non-blank line, so blank separators stay last.
  size_t at = span->End;
  while (at > span->Header + 1 && Trim(Lines[at - 1]).empty()) --at;
  Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), line);
}

bool ProfileText::Remove(std::string_view section, std::string_view key) {
  auto span = FindSection(section);
  if (!span) return false;
  auto line = FindKey(*span, key);
  if (!line) return false;
  Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(*line));
  return true;
}

std::vector<std::string> ProfileText::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  auto span = FindSection(section);
  if (!span) return keys;
  for (size_t i = span->Header + 1; i < span->End; ++i)
    if (auto parsed = ParseProfileKeyLine(Lines[i])) keys.emplace_back(parsed->Key);
  return keys;
}

std::string ProfileText::Text() const {
  std::string text;
  for (const std::string& line : Lines) text += line + "\n";
  return text;
}
