#include "store/statistics.h"

#include <algorithm>
#include <string>

#include "game/seats.h"
#include "store/profile_text.h"
#include "store/settings_store.h"

namespace {
constexpr const char* SECTION = "Statistics";
// The writer never stores more digits than the largest count has.
constexpr size_t MAX_DIGITS = 10;
}  // namespace

std::optional<uint32_t> ParseStatistic(std::string_view text) {
  if (text.empty() || text.size() > MAX_DIGITS) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool IsUsableStatisticValue(std::string_view section, std::string_view key, std::string_view value) {
  if (!SameProfileName(section, SECTION)) return true;
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
      if (SameProfileName(key, StatisticKeyName(static_cast<StatisticKind>(kind), variation)))
        return ParseStatistic(value).has_value();
  return true;
}

void Statistics::Load(SettingsStore& store) {
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind) {
      const std::string key = StatisticKeyName(static_cast<StatisticKind>(kind), variation);
      Values[kind][variation] = ParseStatistic(store.ReadString(SECTION, key, "")).value_or(0);
    }
}

void Statistics::Save(SettingsStore& store) const {
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
      store.WriteInt(SECTION, StatisticKeyName(static_cast<StatisticKind>(kind), variation), Values[kind][variation]);
}

void Statistics::CountGame(uint32_t variation, const FinalTotals& totals) {
  if (totals.Result > 1 || variation >= STATISTIC_VARIATIONS) return;
  const bool human = totals.Result == HUMAN_SEAT;
  const uint32_t margin = static_cast<uint32_t>(totals.Margin);
  At(human ? USER_WINS : COMPUTER_WINS, variation) += 1;
  At(human ? USER_POINTS : COMPUTER_POINTS, variation) += margin;
  uint32_t& best = At(human ? USER_BEST_SCORE : COMPUTER_BEST_SCORE, variation);
  best = std::max(best, margin);
}
