#pragma once

#include <array>
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
};

HistoryFigures FiguresOf(const std::vector<RecordedHand>& hands, const std::vector<RecordedGame>& games);
