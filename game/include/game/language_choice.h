#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The languages the program speaks, by code, each with its own name as a
// person looking for it would read it. English is the string table itself.
struct KnownLanguage {
  std::string_view Code;
  std::string_view OwnName;
};
inline constexpr std::array<KnownLanguage, 4> KNOWN_LANGUAGES{{
    {"en", "English"},
    {"de", "Deutsch"},
    {"fr", "Fran\u00e7ais"},
    {"es", "Espa\u00f1ol"},
}};
inline constexpr std::string_view ENGLISH = "en";

bool IsKnownLanguage(std::string_view code);

// The desktop's language as gettext programs take it: the first of
// LC_ALL, LC_MESSAGES and LANG that is set names the locale, "C" and
// "POSIX" being English; LANGUAGE, a list of languages in order of
// preference, comes before it unless the locale is "C". The first known
// language wins; none known is English.
using EnvironmentReader = std::function<const char*(const char* name)>;
std::string DesktopLanguage(const EnvironmentReader& environment);

// The language to speak: the player's choice when it names a known
// language, the desktop's otherwise (an empty choice).
std::string LanguageToUse(std::string_view choice, const EnvironmentReader& environment);

// The catalogue of a language below an installation directory.
std::filesystem::path CataloguePath(const std::filesystem::path& installation, std::string_view code);

// Makes the string table speak `code` from its catalogue below the
// installation; English needs none. Returns an empty text, or why the
// texts stay English (the catalogue is missing or damaged).
std::string SpeakLanguage(std::string_view code, const std::filesystem::path& installation);
