#include "game/language_choice.h"

#include <algorithm>

#include "game/message_catalogue.h"
#include "game/string_table.h"

namespace {

// "de_DE.UTF-8@euro" and "de" both name German.
std::string_view LanguageOfLocale(std::string_view locale) {
  return locale.substr(0, std::min(locale.find_first_of("_.@"), locale.size()));
}

bool IsEnglishLocale(std::string_view locale) { return locale == "C" || locale == "POSIX" || locale.starts_with("C."); }

const char* FirstSet(const EnvironmentReader& environment, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = environment(name);
    if (value && *value) return value;
  }
  return nullptr;
}

}  // namespace

bool IsKnownLanguage(std::string_view code) {
  return std::any_of(KNOWN_LANGUAGES.begin(), KNOWN_LANGUAGES.end(),
                     [code](const KnownLanguage& known) { return known.Code == code; });
}

std::string DesktopLanguage(const EnvironmentReader& environment) {
  const char* locale = FirstSet(environment, {"LC_ALL", "LC_MESSAGES", "LANG"});
  if (!locale || IsEnglishLocale(locale)) return std::string(ENGLISH);
  if (const char* preferred = FirstSet(environment, {"LANGUAGE"})) {
    std::string_view list = preferred;
    while (!list.empty()) {
      const size_t end = std::min(list.find(':'), list.size());
      const std::string_view language = LanguageOfLocale(list.substr(0, end));
      if (IsKnownLanguage(language)) return std::string(language);
      list.remove_prefix(std::min(end + 1, list.size()));
    }
  }
  const std::string_view language = LanguageOfLocale(locale);
  return std::string(IsKnownLanguage(language) ? language : ENGLISH);
}

std::string LanguageToUse(std::string_view choice, const EnvironmentReader& environment) {
  return IsKnownLanguage(choice) ? std::string(choice) : DesktopLanguage(environment);
}

std::filesystem::path CataloguePath(const std::filesystem::path& installation, std::string_view code) {
  return installation / "locale" / code / "LC_MESSAGES" / "quorla.mo";
}

std::string SpeakLanguage(std::string_view code, const std::filesystem::path& installation) {
  if (code == ENGLISH || !IsKnownLanguage(code)) {
    UseTranslation({});
    return {};
  }
  try {
    UseTranslation(ReadMessageCatalogue(CataloguePath(installation, code)));
    return {};
  } catch (const CatalogueError& error) {
    UseTranslation({});
    return error.what();
  }
}
