// quorla-lab bench history: the cost of the history of play.
#include "bench_history.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "neural/random.h"
#include "numbers.h"
#include "options.h"
#include "progress_bar.h"
#include "scratch/scratch_directory.h"
#include "store/history_figures.h"
#include "store/play_history.h"

namespace {
constexpr unsigned long DEFAULT_GAMES = 10000;
constexpr unsigned long MAX_GAMES = 1000000;
constexpr uint32_t TARGET = 100;

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One game of random hands: each won by either side for up to 40 points,
// one in ten ended by the stock, until one side reaches the target.
unsigned long RecordGame(PlayHistory& history, NxRandomGenerator& gen, unsigned long game) {
  uint32_t totals[2] = {0, 0}, won[2] = {0, 0};
  unsigned long hands = 0;
  for (uint32_t number = 1; totals[0] < TARGET && totals[1] < TARGET; ++number, ++hands) {
    PlayedHand hand;
    hand.Variation = static_cast<uint32_t>(game % 3);
    hand.Target = TARGET;
    hand.Number = number;
    if (gen.rand() % 10 != 0) {
      hand.Knocker = static_cast<uint32_t>(gen.rand() % 2);
      hand.Winner = gen.rand() % 8 == 0 ? 1 - hand.Knocker : hand.Knocker;
      hand.Undercut = hand.Winner != hand.Knocker;
      hand.Points = 1 + static_cast<uint32_t>(gen.rand() % 40);
      totals[hand.Winner] += hand.Points;
      ++won[hand.Winner];
    }
    hand.EndsGame = totals[0] >= TARGET || totals[1] >= TARGET;
    if (hand.EndsGame) {
      hand.HandsWon[0] = won[0];
      hand.HandsWon[1] = won[1];
      hand.Totals.Result = totals[0] > totals[1] ? 0 : 1;
    }
    if (!history.Record(hand, static_cast<uint32_t>(game % 5))) return 0;
  }
  return hands;
}
}  // namespace

void PrintBenchHistoryHelp() {
  std::printf(
      "usage: quorla-lab bench history [--games N] [--seed S]\n"
      "\n"
      "Writes a history of play of N games (1..%lu, default %lu) of random hands into a\n"
      "scratch directory, one transaction per hand as the game writes them, then\n"
      "reads it back and computes the Statistics dialog's figures, as the dialog\n"
      "does when it opens. Reports the time per hand written and the time to the\n"
      "figures. S (0..%lu, default 1) seeds the hands.\n",
      MAX_GAMES, DEFAULT_GAMES, MAX_SEED);
}

int RunBenchHistory(const std::vector<std::string_view>& args) {
  unsigned long games = DEFAULT_GAMES, seed = 1;
  CommandOptions options("bench history", PrintBenchHistoryHelp);
  options.Whole("--games", 1, MAX_GAMES, games);
  options.Whole("--seed", 0, MAX_SEED, seed);
  if (auto status = options.Parse(args)) return *status;
  ScratchDirectory scratch("bench-history");
  PlayHistory history;
  if (scratch.Failed() || !history.Open(scratch.Path(PlayHistory::FILE_NAME)))
    return options.Fail(scratch.Failed() ? scratch.Problem() : history.Problem());
  NxRandomGenerator gen;
  gen.Seed = static_cast<int32_t>(seed % NxRandomGenerator::MODULUS);
  gen.InitTable();
  ProgressBar progress(games, "games");
  unsigned long hands = 0;
  const auto writing = std::chrono::steady_clock::now();
  for (unsigned long game = 0; game < games; ++game) {
    const unsigned long written = RecordGame(history, gen, game);
    if (written == 0) return options.Fail(history.Problem());
    hands += written;
    progress.Show(game + 1);
  }
  const double writeSeconds = Since(writing);
  ProgressBar::Clear();
  history.Close();

  const auto reading = std::chrono::steady_clock::now();
  PlayHistory reopened;
  if (!reopened.Open(scratch.Path(PlayHistory::FILE_NAME))) return options.Fail(reopened.Problem());
  const HistoryFigures figures = FiguresOf(reopened.Hands(), reopened.Games());
  const double readSeconds = Since(reading);
  std::printf("games: %lu, hands: %lu\n", games, hands);
  std::printf("per hand written: %.1f us\n", 1e6 * writeSeconds / static_cast<double>(hands));
  std::printf("figures read: %.1f ms (%u hands counted)\n", 1e3 * readSeconds, figures.HandsPlayed);
  return 0;
}
