#pragma once

#include <array>
#include <cstdint>

#include "game/score_record.h"
#include "store/setting_keys.h"

class SettingsStore;

// Games won, total points and best score of both players, per variation.
struct Statistics {
  // Indexed by StatisticKind, then by variation.
  std::array<std::array<uint32_t, STATISTIC_VARIATIONS>, STATISTIC_KINDS> Values{};

  uint32_t& At(StatisticKind kind, uint32_t variation) { return Values[kind][variation]; }
  uint32_t At(StatisticKind kind, uint32_t variation) const { return Values[kind][variation]; }

  void Load(SettingsStore& store);
  void Save(SettingsStore& store) const;
  void Reset() { Values = {}; }
  // The winner's wins, points and best score for the variation; a tie
  // changes nothing.
  void CountGame(uint32_t variation, const FinalTotals& totals);
};
