#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "game/language_choice.h"
#include "game/message_catalogue.h"
#include "game/string_table.h"
#include "game/text_ids.h"

namespace {

const std::filesystem::path BUILT_INSTALLATION = QUORLA_BUILD_DIRECTORY;

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// What a translation must keep of its English text: the placeholders, the
// card signs, the mnemonic marks and the spaces and line breaks the code
// joins or lays out texts by.
std::map<std::string, int> FormOf(const std::string& text) {
  std::map<std::string, int> form;
  for (const char* mark : {"%1", "%2", "\xE2\x99\xA0", "\xE2\x99\xA5", "\xE2\x99\xA6", "\xE2\x99\xA3", "\n", "\t", "&&"})
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + std::strlen(mark)))
      ++form[mark];
  int mnemonics = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '&') continue;
    if (at + 1 < text.size() && text[at + 1] == '&') ++at;
    else ++mnemonics;
  }
  form["mnemonic"] = mnemonics;
  const size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  form["leading spaces"] = static_cast<int>(first == std::string::npos ? text.size() : first);
  form["trailing spaces"] = static_cast<int>(last == std::string::npos ? text.size() : text.size() - 1 - last);
  return form;
}

struct LanguageRestorer {
  ~LanguageRestorer() { UseTranslation({}); }
};

}  // namespace

// German, French and Spanish are complete: every text of the table has an
// entry made for its present English, which keeps that text's form.
TEST(Translations, EveryLanguageTranslatesEveryTextAndKeepsItsForm) {
  std::vector<uint32_t> ids = ResourceIds();
  ids.erase(std::remove_if(ids.begin(), ids.end(), [](uint32_t id) { return !*EnglishResourceString(id); }),
            ids.end());
  for (const KnownLanguage& language : KNOWN_LANGUAGES) {
    if (language.Code == ENGLISH) continue;
    const std::string code(language.Code);
    const auto entries = ReadMessageCatalogue(CataloguePath(BUILT_INSTALLATION, code));
    std::map<uint32_t, const CatalogueEntry*> byId;
    for (const CatalogueEntry& entry : entries) byId[entry.Id] = &entry;
    size_t translated = 0;
    for (const uint32_t id : ids) {
      const auto found = byId.find(id);
      if (found == byId.end() || found->second->English != EnglishResourceString(id) ||
          found->second->Translated.empty()) {
        ADD_FAILURE() << code << ": no translation of text " << id << " \"" << EnglishResourceString(id) << "\"";
        continue;
      }
      ++translated;
      EXPECT_EQ(FormOf(found->second->Translated), FormOf(EnglishResourceString(id)))
          << code << " text " << id << ": \"" << found->second->Translated << "\"";
    }
    std::printf("%s: %zu of %zu texts translated\n", code.c_str(), translated, ids.size());
  }
}

// A language speaks its translations; what it lacks, and what was made for
// an English text since changed, falls back to English; English again
// restores the table.
TEST(Translations, MissingOrOutdatedEntriesFallBackToEnglish) {
  LanguageRestorer restore;
  const std::string english = EnglishResourceString(YOUR_TURN);
  EXPECT_EQ(UseTranslation({{YOUR_TURN, english, "Du bist dran"},
                            {COMPUTERS_PLAY, "an English text since reworded", "Veraltet"},
                            {PLEASE_KNOCK_OR_DISCARD, EnglishResourceString(PLEASE_KNOCK_OR_DISCARD), ""}}),
            1u);
  EXPECT_STREQ(ResourceString(YOUR_TURN), "Du bist dran");
  EXPECT_STREQ(ResourceString(COMPUTERS_PLAY), EnglishResourceString(COMPUTERS_PLAY));
  EXPECT_STREQ(ResourceString(PLEASE_KNOCK_OR_DISCARD), EnglishResourceString(PLEASE_KNOCK_OR_DISCARD));

  EXPECT_EQ(SpeakLanguage("de", BUILT_INSTALLATION), "");
  EXPECT_STRNE(ResourceString(MENU_GAME_TEXT), EnglishResourceString(MENU_GAME_TEXT));
  EXPECT_NE(SpeakLanguage("fr", "/nonexistent"), "");
  EXPECT_STREQ(ResourceString(MENU_GAME_TEXT), EnglishResourceString(MENU_GAME_TEXT));
}

// The desktop's language is taken as gettext programs take it.
TEST(Translations, TheDesktopLanguageFollowsTheLocaleVariables) {
  struct Case {
    std::map<std::string, std::string> Environment;
    const char* Expected;
  };
  const Case cases[] = {
      {{}, "en"},
      {{{"LANG", "de_DE.UTF-8"}}, "de"},
      {{{"LANG", "de_AT"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr"},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "es_ES@euro"}}, "es"},
      {{{"LANG", "pt_BR.UTF-8"}}, "en"},
      {{{"LANG", "en_GB.UTF-8"}, {"LANGUAGE", "pt:es:de"}}, "es"},
      {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, "en"},  // the C locale ignores LANGUAGE
      {{{"LANGUAGE", "de"}}, "en"},                        // so does no locale at all
      {{{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "::"}}, "fr"},
  };
  for (const Case& c : cases) {
    const auto reader = [&c](const char* name) -> const char* {
      const auto found = c.Environment.find(name);
      return found == c.Environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(DesktopLanguage(reader), c.Expected);
    EXPECT_EQ(LanguageToUse("", reader), c.Expected);
    EXPECT_EQ(LanguageToUse("fr", reader), "fr");
    EXPECT_EQ(LanguageToUse("../x", reader), c.Expected);
  }
}

// A damaged catalogue is refused with a message, whatever the damage:
// truncated, bytes changed, counts and offsets out of the file.
TEST(Translations, ADamagedCatalogueIsRefusedNeverMisread) {
  const std::string good = ReadBytes(CataloguePath(BUILT_INSTALLATION, "de"));
  ASSERT_GT(good.size(), 1000u);
  const size_t entries = ParseMessageCatalogue(good).size();
  EXPECT_THROW(ParseMessageCatalogue(""), CatalogueError);
  EXPECT_THROW(ParseMessageCatalogue(std::string(28, 'x')), CatalogueError);
  std::mt19937 random(4711);
  int refused = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    std::string bytes = good;
    switch (trial % 3) {
      case 0: bytes.resize(random() % bytes.size()); break;
      case 1:
        for (int i = 0; i < 4; ++i) bytes[random() % 28] = static_cast<char>(random());
        break;
      default:
        for (int i = 0; i < 8; ++i) bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    try {
      EXPECT_LE(ParseMessageCatalogue(bytes).size(), entries);
    } catch (const CatalogueError& error) {
      EXPECT_STRNE(error.what(), "");
      ++refused;
    }
  }
  EXPECT_GT(refused, 1000);
}
