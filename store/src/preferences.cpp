#include "store/preferences.h"

#include "game/card_picture_ids.h"
#include "game/language_choice.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

namespace {
constexpr size_t MAX_FACE_DECK_NAME = 64;
}  // namespace

void Preferences::Load(SettingsStore& store) {
  DisableScenery = ReadSetting(store, keys::DisableScenery) != 0;
  DifficultyLevel = ReadSetting(store, keys::DifficultyLevel);
  AlwaysResume = ReadSetting(store, keys::AlwaysResume);
  ToolbarLocation = ReadSetting(store, keys::ToolbarLocation);
  HideToolbar = ReadSetting(store, keys::HideToolbar) != 0;
  DealType = ReadSetting(store, keys::DealType);
  HandSorting = ReadSetting(store, keys::HandSorting);
  SortDirection = ReadSetting(store, keys::SortDirection);
  HideWarnSize = ReadSetting(store, keys::HideWarnSize);
  RandomDeck = ReadSetting(store, keys::RandomDeck) != 0;
  ResumeFormatStamp = ReadSetting(store, keys::OKResumeVersn);
  // A hand-edited name that could reach outside the card data is dropped.
  CardFaces = store.ReadString(CARD_FACES_SECTION, CARD_FACES_KEY, "", MAX_FACE_DECK_NAME + 2);
  if (!IsFaceDeckName(CardFaces)) CardFaces.clear();
  Language = store.ReadString(CARD_FACES_SECTION, LANGUAGE_KEY, "", 8);
  if (!IsKnownLanguage(Language)) Language.clear();
  ShowMelds = ReadSetting(store, SHOW_MELDS_SETTING) != 0;
  Animation = ReadSetting(store, ANIMATION_SETTING) != 0;
  Master = ReadSetting(store, MASTER_SETTING) != 0 && DifficultyLevel == 3;
}

void Preferences::Save(SettingsStore& store) const {
  WriteSetting(store, keys::DisableScenery, DisableScenery);
  WriteSetting(store, keys::DifficultyLevel, DifficultyLevel);
  WriteSetting(store, keys::AlwaysResume, AlwaysResume);
  WriteSetting(store, keys::ToolbarLocation, ToolbarLocation);
  WriteSetting(store, keys::HideToolbar, HideToolbar);
  WriteSetting(store, keys::DealType, DealType);
  WriteSetting(store, keys::HandSorting, HandSorting);
  WriteSetting(store, keys::SortDirection, SortDirection);
  WriteSetting(store, keys::HideWarnSize, HideWarnSize);
  WriteSetting(store, keys::RandomDeck, RandomDeck);
  WriteSetting(store, keys::OKResumeVersn, ResumeFormatStamp);
  // Files of players who never chose stay as they were.
  if (!CardFaces.empty()) store.WriteString(CARD_FACES_SECTION, CARD_FACES_KEY, CardFaces);
  if (!Language.empty())
    store.WriteString(CARD_FACES_SECTION, LANGUAGE_KEY, Language);
  else  // writes the file only when a choice was there to remove
    store.DeleteValue(CARD_FACES_SECTION, LANGUAGE_KEY);
  WriteSetting(store, SHOW_MELDS_SETTING, ShowMelds);
  WriteSetting(store, ANIMATION_SETTING, Animation);
  WriteSetting(store, MASTER_SETTING, Master && DifficultyLevel == 3);
}

bool IsFaceDeckName(std::string_view name) {
  constexpr std::string_view prefix = "svg-";
  if (name.size() <= prefix.size() || name.size() > MAX_FACE_DECK_NAME || name.substr(0, prefix.size()) != prefix)
    return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

TableChoices ReadTableChoices(SettingsStore& store) {
  TableChoices choices;
  choices.Rules.Variation = ReadSetting(store, keys::GinVariation);
  choices.Rules.AceRequiresGin = ReadSetting(store, keys::AceRequiresGin) != 0;
  choices.Rules.GameTarget = ReadSetting(store, keys::GameTarget);
  // A target the Variations dialog cannot offer would end games at once or never.
  if (!IsValidGameTarget(choices.Rules.GameTarget)) choices.Rules.GameTarget = keys::GameTarget.Default;
  choices.DeckId = ReadSetting(store, keys::DeckId);
  if (choices.DeckId < FIRST_CARD_BACK_ID || choices.DeckId > LAST_CARD_BACK_ID) choices.DeckId = FIRST_CARD_BACK_ID;
  return choices;
}

void WriteTableChoices(SettingsStore& store, const TableChoices& choices) {
  WriteSetting(store, keys::DeckId, choices.DeckId);
  WriteSetting(store, keys::GameTarget, choices.Rules.GameTarget);
  WriteSetting(store, keys::GinVariation, choices.Rules.Variation);
  WriteSetting(store, keys::AceRequiresGin, choices.Rules.AceRequiresGin);
}

bool IsResumable(SettingsStore& store) {
  return ReadSetting(store, keys::CanResume) != 0 && ReadSetting(store, keys::OKResumeVersn) == RESUME_FORMAT_STAMP;
}
