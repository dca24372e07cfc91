#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/play_history.h"

// How the person's hands and games have gone, from the history of play:
// the figures shown beside the statistics. Watched games count nowhere,
// as in the statistics.
struct HistoryFigures {
  struct Share {
    uint32_t Won = 0;
    uint32_t Played = 0;
  };

  uint32_t HandsPlayed = 0;  // the stock's ties included
  uint32_t HandsWon = 0;
  uint32_t HandsLost = 0;
  uint32_t Knocks = 0;     // the person's, gin included
  uint32_t Gins = 0;       // the person's
  uint32_t Undercuts = 0;  // the person's, as the defender
  uint32_t LongestWinningStreak = 0;  // hands won in a row
  // The person's points less the computer's, per hand played.
  double PointsPerHand = 0;
  // Games won of games finished, by level (4 is Master) and by variation.
  std::array<Share, 5> GamesByLevel{};
  std::array<Share, 3> GamesByVariation{};

  // After each hand won or lost, the share of the last RATE_WINDOW such
  // hands the person won, and the level it was played at: the win rate
  // over time, with the level changes in it.
  static constexpr uint32_t RATE_WINDOW = 20;
  struct RatePoint {
    double Rate = 0;
    uint32_t Level = 0;
  };
  std::vector<RatePoint> WinRateOverTime;

  // Each hand's points for the person less the computer's, a tie 0: the
  // points per hand over time. RecentPointsPerHand is their mean over the
  // last RATE_WINDOW hands.
  std::vector<int32_t> PointsOverTime;
  double RecentPointsPerHand = 0;

  // The computer's share of the hands won or lost at each level (4 is
  // Master), in blocks of BLOCK such hands in the order they were played
  // there: a level's networks learn from the hands played at it, so this is
  // where their progress shows. A last block of fewer than BLOCK / 2 hands
  // is left out; its share would say more about chance than about play.
  static constexpr uint32_t BLOCK = 20;
  std::array<std::vector<double>, 5> ComputerShareByLevel{};
};

HistoryFigures FiguresOf(const std::vector<RecordedHand>& hands, const std::vector<RecordedGame>& games);

// The lowest and the highest of the values falling in each of `columns`
// equal runs of them, in order: more values than a chart has pixels for,
// drawn one column each. With no more values than columns, one per value.
template <typename Value>
struct ValueSpan {
  Value Low{};
  Value High{};
};

template <typename Value>
std::vector<ValueSpan<Value>> SpansOf(const std::vector<Value>& values, size_t columns) {
  std::vector<ValueSpan<Value>> spans;
  if (values.empty() || columns == 0) return spans;
  const size_t count = std::min(columns, values.size());
  spans.reserve(count);
  for (size_t column = 0; column < count; ++column) {
    // Column c holds values [c * n / count, (c + 1) * n / count): every value
    // in exactly one column, none empty.
    const auto first = values.begin() + static_cast<ptrdiff_t>(column * values.size() / count);
    const auto last = values.begin() + static_cast<ptrdiff_t>((column + 1) * values.size() / count);
    const auto [low, high] = std::minmax_element(first, last);
    spans.push_back({*low, *high});
  }
  return spans;
}

// A level's shares of blocks, each `together` consecutive blocks taken as
// one (the last group may be shorter): a longer history is drawn in longer
// blocks rather than in more points than a chart can show.
std::vector<double> MergedShares(const std::vector<double>& shares, size_t together);
