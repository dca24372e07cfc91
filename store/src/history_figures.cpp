#include "store/history_figures.h"

#include <algorithm>
#include <deque>

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

// The rolling share of hands won, one point per hand won or lost.
class WinRate {
 public:
  void Note(const RecordedHand& row, std::vector<HistoryFigures::RatePoint>& points) {
    if (row.Hand.Winner == PlayedHand::NOBODY) return;
    Last.push_back(row.Hand.Winner == HUMAN_SEAT);
    Won += Last.back();
    if (Last.size() > HistoryFigures::RATE_WINDOW) {
      Won -= Last.front();
      Last.pop_front();
    }
    points.push_back({static_cast<double>(Won) / static_cast<double>(Last.size()), row.Level});
  }

 private:
  std::deque<bool> Last;
  uint32_t Won = 0;
};

void CountGame(const RecordedGame& game, HistoryFigures::Share& share) {
  ++share.Played;
  share.Won += game.Winner == HUMAN_SEAT;
}

}  // namespace

HistoryFigures FiguresOf(const std::vector<RecordedHand>& hands, const std::vector<RecordedGame>& games) {
  HistoryFigures figures;
  uint32_t streak = 0;
  int64_t balance = 0;
  WinRate rate;
  for (const RecordedHand& row : hands) {
    if (row.Hand.Watched) continue;
    CountHand(row.Hand, figures, streak, balance);
    rate.Note(row, figures.WinRateOverTime);
  }
  if (figures.HandsPlayed > 0) figures.PointsPerHand = static_cast<double>(balance) / figures.HandsPlayed;
  for (const RecordedGame& game : games) {
    if (game.Watched) continue;
    CountGame(game, figures.GamesByLevel[std::min<uint32_t>(game.Level, 4)]);
    CountGame(game, figures.GamesByVariation[std::min<uint32_t>(game.Variation, 2)]);
  }
  return figures;
}
