#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SettingsStore;

// How a stored value is cleaned when it is read, so that a damaged or
// hand-edited file can never select a variation, level or sorting mode
// outside its range.
enum class ReadRule {
  AS_READ,
  BOOLEAN,            // 0 or 1: any non-zero value is 1
  MASKED,             // value AND Mask; the default when that is above Maximum
  MASKED_AT_MOST,     // value AND Mask, then at most Maximum
};

struct SettingKey {
  const char* Section;
  const char* Key;
  uint32_t Default;
  ReadRule Rule = ReadRule::AS_READ;
  uint32_t Mask = 0xFFFFFFFF;
  uint32_t Maximum = 0xFFFFFFFF;
};

// The keys of a configuration's settings file.
namespace keys {
inline constexpr SettingKey DisableScenery{"Preferences", "DisableScenery", 0, ReadRule::BOOLEAN};
inline constexpr SettingKey DifficultyLevel{"Preferences", "DifficultyLevel", 1, ReadRule::MASKED, 3, 3};
inline constexpr SettingKey AlwaysResume{"Preferences", "AlwaysResume", 0};
inline constexpr SettingKey ToolbarLocation{"Preferences", "ToolbarLocation", 1};
inline constexpr SettingKey HideToolbar{"Preferences", "HideToolbar", 0, ReadRule::BOOLEAN};
inline constexpr SettingKey DealType{"Preferences", "DealType", 0, ReadRule::MASKED, 1, 1};
inline constexpr SettingKey HandSorting{"Preferences", "HandSorting", 0, ReadRule::MASKED_AT_MOST, 3, 2};
inline constexpr SettingKey SortDirection{"Preferences", "SortDirection", 0};
inline constexpr SettingKey HideWarnSize{"Preferences", "HideWarnSize", 0};
inline constexpr SettingKey RandomDeck{"Preferences", "RandomDeck", 0, ReadRule::BOOLEAN};
inline constexpr SettingKey DeckId{"Preferences", "DeckId", 24456};
inline constexpr SettingKey GinVariation{"Play", "GinVariation", 0, ReadRule::MASKED, 3, 2};
inline constexpr SettingKey AceRequiresGin{"Play", "AceRequiresGin", 1, ReadRule::BOOLEAN};
inline constexpr SettingKey GameTarget{"Play", "GameTarget", 100};
inline constexpr SettingKey FirstPlay{"Quorla", "FirstPlay", 1, ReadRule::BOOLEAN};
inline constexpr SettingKey CanResume{"Quorla", "CanResume", 0};
inline constexpr SettingKey OKResumeVersn{"Quorla", "OKResumeVersn", 0};
inline constexpr SettingKey ColorResolution32{"System", "ColorResolution32", 8};
}  // namespace keys

// The statistics keys: one of six names followed by the variation digit.
enum StatisticKind : uint32_t {
  COMPUTER_WINS,
  USER_WINS,
  COMPUTER_POINTS,
  USER_POINTS,
  COMPUTER_BEST_SCORE,
  USER_BEST_SCORE,
  STATISTIC_KINDS
};
constexpr uint32_t STATISTIC_VARIATIONS = 3;
std::string StatisticKeyName(StatisticKind kind, uint32_t variation);

uint32_t ApplyReadRule(const SettingKey& key, uint32_t stored);
uint32_t ReadSetting(SettingsStore& store, const SettingKey& key);
void WriteSetting(SettingsStore& store, const SettingKey& key, uint32_t value);

// Every key the game keeps in a configuration's settings file, the
// statistics included, in table order. The statistics keys' names live as
// long as the program.
const std::vector<SettingKey>& AllSettingKeys();
