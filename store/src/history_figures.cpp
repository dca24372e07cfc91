#include "store/history_figures.h"

#include <algorithm>

#include "game/seats.h"

namespace {

void CountHand(const PlayedHand& hand, HistoryFigures& figures, uint32_t& streak, int64_t& balance) {
  ++figures.HandsPlayed;
  const bool won = hand.Winner == HUMAN_SEAT;
  if (hand.Winner == COMPUTER_SEAT) ++figures.HandsLost;
  if (hand.Knocker == HUMAN_SEAT) ++figures.Knocks;
  if (won) {
    ++figures.HandsWon;
    figures.Gins += hand.Gin;
    figures.Undercuts += hand.Undercut;
    balance += hand.Points;
  } else if (hand.Winner == COMPUTER_SEAT) {
    balance -= hand.Points;
  }
  // A tie of the stock neither extends nor breaks a streak.
  if (hand.Winner == PlayedHand::NOBODY) return;
  streak = won ? streak + 1 : 0;
  figures.LongestWinningStreak = std::max(figures.LongestWinningStreak, streak);
}

void CountGame(const RecordedGame& game, HistoryFigures::Share& share) {
  ++share.Played;
  share.Won += game.Winner == HUMAN_SEAT;
}

}  // namespace

HistoryFigures FiguresOf(const std::vector<RecordedHand>& hands, const std::vector<RecordedGame>& games) {
  HistoryFigures figures;
  uint32_t streak = 0;
  int64_t balance = 0;
  for (const RecordedHand& row : hands)
    if (!row.Hand.Watched) CountHand(row.Hand, figures, streak, balance);
  if (figures.HandsPlayed > 0) figures.PointsPerHand = static_cast<double>(balance) / figures.HandsPlayed;
  for (const RecordedGame& game : games) {
    if (game.Watched) continue;
    CountGame(game, figures.GamesByLevel[std::min<uint32_t>(game.Level, 4)]);
    CountGame(game, figures.GamesByVariation[std::min<uint32_t>(game.Variation, 2)]);
  }
  return figures;
}
