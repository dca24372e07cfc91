#include "store/setting_keys.h"

#include <algorithm>

#include "store/settings_store.h"

namespace {
const char* const STATISTIC_NAMES[STATISTIC_KINDS] = {"ComputerWins",      "UserWins",         "ComputerPoints",
                                                      "UserPoints",        "ComputerBestScore", "UserBestScore"};
}  // namespace

std::string StatisticKeyName(StatisticKind kind, uint32_t variation) {
  return std::string(STATISTIC_NAMES[kind]) + static_cast<char>('0' + variation);
}

uint32_t ApplyReadRule(const SettingKey& key, uint32_t stored) {
  switch (key.Rule) {
    case ReadRule::BOOLEAN:
      return stored != 0 ? 1 : 0;
    case ReadRule::MASKED: {
      // A mask wider than the range would let a value through that the
      // game cannot use (GinVariation 3).
      const uint32_t masked = stored & key.Mask;
      return masked <= key.Maximum ? masked : key.Default;
    }
    case ReadRule::MASKED_AT_MOST:
      return std::min(stored & key.Mask, key.Maximum);
    case ReadRule::AS_READ:
      break;
  }
  return stored;
}

uint32_t ReadSetting(SettingsStore& store, const SettingKey& key) {
  return ApplyReadRule(key, store.ReadInt(key.Section, key.Key, key.Default));
}

void WriteSetting(SettingsStore& store, const SettingKey& key, uint32_t value) {
  store.WriteInt(key.Section, key.Key, value);
}

const std::vector<SettingKey>& AllSettingKeys() {
  static const std::vector<SettingKey> table = [] {
    std::vector<SettingKey> all = {
        keys::DisableScenery, keys::DifficultyLevel, keys::AlwaysResume,   keys::ToolbarLocation,
        keys::HideToolbar,    keys::DealType,        keys::HandSorting,    keys::SortDirection,
        keys::HideWarnSize,   keys::RandomDeck,      keys::DeckId,         keys::GinVariation,
        keys::AceRequiresGin, keys::GameTarget,      keys::FirstPlay,      keys::CanResume,
        keys::OKResumeVersn,  keys::ColorResolution32};
    static std::vector<std::string> names;
    names.reserve(STATISTIC_KINDS * STATISTIC_VARIATIONS);
    for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
      for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
        names.push_back(StatisticKeyName(static_cast<StatisticKind>(kind), variation));
    for (const std::string& name : names) all.push_back({"Statistics", name.c_str(), 0});
    return all;
  }();
  return table;
}
