#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/rules.h"
#include "store/setting_keys.h"

class SettingsStore;

// The resume-file format stamp that makes a saved game resumable.
constexpr uint32_t RESUME_FORMAT_STAMP = 121;

// The preferences group, read and written together in this order, and the
// resume-format stamp saved with them.
struct Preferences {
  bool DisableScenery = false;
  uint32_t DifficultyLevel = 1;
  uint32_t AlwaysResume = 0;
  uint32_t ToolbarLocation = 1;
  bool HideToolbar = false;
  uint32_t DealType = 0;
  uint32_t HandSorting = 0;
  uint32_t SortDirection = 0;
  uint32_t HideWarnSize = 0;
  bool RandomDeck = false;
  uint32_t ResumeFormatStamp = 0;
  // The folder name of the face deck the player chose; empty (also for a
  // file from before the choice existed) means the game's default deck.
  std::string CardFaces;
  // How the table shows play: the hand's melds marked, and cards that glide
  // to their places. Both on for a file from before they existed.
  bool ShowMelds = true;
  bool Animation = true;
  // The fifth level, Master, plays with level 4's networks: it is stored
  // beside DifficultyLevel 3, so that a reader that knows four levels sees
  // level 4. Counts only with DifficultyLevel 3.
  bool Master = false;
  // The language the player chose for the program's texts (a known
  // language's code); empty, also for a file from before the choice
  // existed, means the desktop's language.
  std::string Language;

  void Load(SettingsStore& store);
  void Save(SettingsStore& store) const;
  // Whether the button bar's place or visibility differ.
  bool SameToolbar(const Preferences& other) const {
    return ToolbarLocation == other.ToolbarLocation && HideToolbar == other.HideToolbar;
  }
};

// The face deck key of the preferences, a text value.
inline constexpr const char* CARD_FACES_SECTION = "Preferences";
inline constexpr const char* CARD_FACES_KEY = "CardFaces";
inline constexpr const char* LANGUAGE_KEY = "Language";

// The table's presentation switches, kept with the preferences.
inline constexpr SettingKey SHOW_MELDS_SETTING{"Preferences", "ShowMelds", 1, ReadRule::BOOLEAN};
inline constexpr SettingKey ANIMATION_SETTING{"Preferences", "Animation", 1, ReadRule::BOOLEAN};
inline constexpr SettingKey MASTER_SETTING{"Preferences", "Master", 0, ReadRule::BOOLEAN};

// A name that can only be a deck folder of the card data ("svg-" and then
// lower-case letters, digits and hyphens), never a path.
bool IsFaceDeckName(std::string_view name);

// The rule choices and the card back, as the game table reads them; a card
// back outside the ten known ones becomes the first.
struct TableChoices {
  RuleChoices Rules;
  uint32_t DeckId = 24456;
};
TableChoices ReadTableChoices(SettingsStore& store);
void WriteTableChoices(SettingsStore& store, const TableChoices& choices);

// A saved game is offered when one was written and its format is current.
bool IsResumable(SettingsStore& store);
