#include "store/history_figures.h"

#include <algorithm>
#include <deque>
#include <numeric>

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

// The computer's hands won at one level, counted in blocks.
class LevelBlocks {
 public:
  void Note(const RecordedHand& row) {
    if (row.Hand.Winner == PlayedHand::NOBODY) return;
    const uint32_t level = std::min<uint32_t>(row.Level, 4);
    Block& block = Open[level];
    block.Won += row.Hand.Winner == COMPUTER_SEAT;
    if (++block.Played < HistoryFigures::BLOCK) return;
    Close(block, Shares[level]);
  }

  void Finish(std::array<std::vector<double>, 5>& shares) {
    for (size_t level = 0; level < Open.size(); ++level)
      if (Open[level].Played * 2 >= HistoryFigures::BLOCK) Close(Open[level], Shares[level]);
    shares = std::move(Shares);
  }

 private:
  struct Block {
    uint32_t Won = 0;
    uint32_t Played = 0;
  };
  static void Close(Block& block, std::vector<double>& shares) {
    shares.push_back(static_cast<double>(block.Won) / block.Played);
    block = {};
  }

  std::array<Block, 5> Open{};
  std::array<std::vector<double>, 5> Shares{};
};

int32_t PointsFor(const PlayedHand& hand) {
  const auto points = static_cast<int32_t>(hand.Points);
  return hand.Winner == HUMAN_SEAT ? points : hand.Winner == COMPUTER_SEAT ? -points : 0;
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
  WinRate rate;
  LevelBlocks blocks;
  figures.PointsOverTime.reserve(hands.size());
  for (const RecordedHand& row : hands) {
    if (row.Hand.Watched) continue;
    CountHand(row.Hand, figures, streak, balance);
    rate.Note(row, figures.WinRateOverTime);
    blocks.Note(row);
    figures.PointsOverTime.push_back(PointsFor(row.Hand));
  }
  blocks.Finish(figures.ComputerShareByLevel);
  if (figures.HandsPlayed > 0) {
    figures.PointsPerHand = static_cast<double>(balance) / figures.HandsPlayed;
    const size_t recent = std::min<size_t>(figures.PointsOverTime.size(), HistoryFigures::RATE_WINDOW);
    const int64_t sum = std::accumulate(figures.PointsOverTime.end() - static_cast<ptrdiff_t>(recent),
                                        figures.PointsOverTime.end(), int64_t{0});
    figures.RecentPointsPerHand = static_cast<double>(sum) / static_cast<double>(recent);
  }
  for (const RecordedGame& game : games) {
    if (game.Watched) continue;
    CountGame(game, figures.GamesByLevel[std::min<uint32_t>(game.Level, 4)]);
    CountGame(game, figures.GamesByVariation[std::min<uint32_t>(game.Variation, 2)]);
  }
  return figures;
}

std::vector<double> MergedShares(const std::vector<double>& shares, size_t together) {
  if (together <= 1) return shares;
  std::vector<double> merged;
  for (size_t first = 0; first < shares.size(); first += together) {
    const size_t last = std::min(shares.size(), first + together);
    // Whole blocks are of equal size, so their mean is the larger block's share.
    merged.push_back(std::accumulate(shares.begin() + static_cast<ptrdiff_t>(first),
                                     shares.begin() + static_cast<ptrdiff_t>(last), 0.0) /
                     static_cast<double>(last - first));
  }
  return merged;
}
