#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "game/score_record.h"
#include "store/setting_keys.h"

class SettingsStore;

// Games won, total points and best score of both players, per variation.
struct Statistics {
  // Indexed by StatisticKind, then by variation.
  std::array<std::array<uint32_t, STATISTIC_VARIATIONS>, STATISTIC_KINDS> Values{};

  uint32_t& At(StatisticKind kind, uint32_t variation) { return Values[kind][variation]; }
  uint32_t At(StatisticKind kind, uint32_t variation) const { return Values[kind][variation]; }

  // A stored value that is no count (see ParseStatistic) reads as 0.
  void Load(SettingsStore& store);
  void Save(SettingsStore& store) const;
  void Reset() { Values = {}; }
  // The winner's wins, points and best score for the variation; a tie
  // changes nothing.
  void CountGame(uint32_t variation, const FinalTotals& totals);
};

// A statistic as the writer stores it: one to ten decimal digits, at most
// what the counter holds. Anything else (a sign, a fraction, a number the
// counter cannot hold) is nothing, never a wrapped or clipped count.
std::optional<uint32_t> ParseStatistic(std::string_view text);

// The value rule of a settings file (see CheckSettingsText): whether the
// value stored for the section's key can be used. Only the statistics keys
// are judged; every other key passes, whatever its value.
bool IsUsableStatisticValue(std::string_view section, std::string_view key, std::string_view value);
