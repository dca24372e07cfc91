#include "win_curve.h"

#include <algorithm>
#include <cmath>

WinShare ShareOfGamesWon(uint64_t won, uint64_t games) {
  WinShare share;
  share.Won = won;
  share.Games = games;
  if (games == 0) return share;
  const double z = 1.959964;
  const double n = static_cast<double>(games);
  const double p = static_cast<double>(won) / n;
  const double denominator = 1 + z * z / n;
  const double centre = (p + z * z / (2 * n)) / denominator;
  const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
  share.Rate = p;
  // Rounding would leave a bound a hair inside the rate at 0% and 100%.
  share.Low = won == 0 ? 0.0 : std::max(0.0, centre - half);
  share.High = won == games ? 1.0 : std::min(1.0, centre + half);
  return share;
}

bool WinCurve::Add(bool won) {
  ++Games;
  ++SliceGames;
  if (won) ++Won;
  if (SliceGames < PerSlice) return false;
  CloseSlice();
  return true;
}

bool WinCurve::Finish() {
  if (SliceGames == 0) return false;
  CloseSlice();
  return true;
}

void WinCurve::CloseSlice() {
  Done.push_back({Games - SliceGames + 1, ShareOfGamesWon(Won, SliceGames)});
  Won = 0;
  SliceGames = 0;
}
