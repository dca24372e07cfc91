#include "store/statistics.h"

#include <algorithm>

#include "store/settings_store.h"

namespace {
constexpr const char* SECTION = "Statistics";
}  // namespace

void Statistics::Load(SettingsStore& store) {
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
      Values[kind][variation] =
          store.ReadInt(SECTION, StatisticKeyName(static_cast<StatisticKind>(kind), variation), 0);
}

void Statistics::Save(SettingsStore& store) const {
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
      store.WriteInt(SECTION, StatisticKeyName(static_cast<StatisticKind>(kind), variation), Values[kind][variation]);
}

void Statistics::CountGame(uint32_t variation, const FinalTotals& totals) {
  if (totals.Result > 1 || variation >= STATISTIC_VARIATIONS) return;
  const bool human = totals.Result == 0;
  const uint32_t margin = static_cast<uint32_t>(totals.Margin);
  At(human ? USER_WINS : COMPUTER_WINS, variation) += 1;
  At(human ? USER_POINTS : COMPUTER_POINTS, variation) += margin;
  uint32_t& best = At(human ? USER_BEST_SCORE : COMPUTER_BEST_SCORE, variation);
  best = std::max(best, margin);
}
