// quorla-lab bench <subject>: throughput measurements of the rules engine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "game/card_id.h"
#include "game/deadwood.h"
#include "game/hand_score.h"
#include "bench_game.h"
#include "bench_history.h"
#include "lab_command.h"
#include "neural/random.h"
#include "numbers.h"
#include "options.h"
#include "progress_bar.h"

namespace {
constexpr unsigned HAND_SIZE = 10;
constexpr unsigned long DEFAULT_HANDS = 1000000;
constexpr unsigned long MAX_DEADWOOD_HANDS = 999999999999UL;
constexpr unsigned CHUNK = 50000;

void PrintHelp() {
  std::printf(
      "usage: quorla-lab bench deadwood [--hands N] [--seed S]\n"
      "\n"
      "Scores N pseudo-random 10-card hands (1..%lu, default %lu) and reports hands per\n"
      "second and the mean deadwood, with the arrangement built (as a hand's end\n"
      "and the computer's view do) and for the number alone (as the players'\n"
      "searches ask it). Half the hands are drawn from the whole\n"
      "deck, half from five consecutive ranks of all four suits (rich in\n"
      "overlapping melds). S (0..%lu, default 1) seeds the hand generator.\n",
      MAX_DEADWOOD_HANDS, DEFAULT_HANDS, MAX_SEED);
}

// Draws HAND_SIZE distinct cards from `pool` (partial shuffle).
void DrawHand(NxRandomGenerator& gen, unsigned* pool, unsigned poolSize, unsigned* hand) {
  for (unsigned i = 0; i < HAND_SIZE; ++i) {
    unsigned j = i + static_cast<unsigned>(gen.rand()) % (poolSize - i);
    std::swap(pool[i], pool[j]);
    hand[i] = pool[i];
  }
}

void MakeHand(NxRandomGenerator& gen, unsigned long number, unsigned* hand) {
  unsigned pool[NUM_CARDS];
  unsigned poolSize = 0;
  if (number % 2 == 0) {
    for (unsigned card = 0; card < NUM_CARDS; ++card) pool[poolSize++] = card;
  } else {
    unsigned low = static_cast<unsigned>(gen.rand()) % (NUM_RANKS - 4);
    for (unsigned suit = 0; suit < NUM_SUITS; ++suit)
      for (unsigned rank = low; rank < low + 5; ++rank) pool[poolSize++] = MakeCard(suit, rank);
  }
  DrawHand(gen, pool, poolSize, hand);
}

int BenchDeadwood(unsigned long hands, unsigned long seed) {
  NxRandomGenerator gen;
  gen.Seed = static_cast<int32_t>(seed % NxRandomGenerator::MODULUS);
  gen.InitTable();
  ProgressBar progress(hands, "hands");
  std::vector<unsigned> chunk(static_cast<size_t>(CHUNK) * HAND_SIZE);
  double seconds = 0, numberSeconds = 0;
  long long deadwoodSum = 0, numberSum = 0;
  for (unsigned long done = 0; done < hands;) {
    const unsigned count = static_cast<unsigned>(std::min<unsigned long>(CHUNK, hands - done));
    for (unsigned i = 0; i < count; ++i) MakeHand(gen, done + i, &chunk[static_cast<size_t>(i) * HAND_SIZE]);
    auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < count; ++i) {
      NxHandScore score(&chunk[static_cast<size_t>(i) * HAND_SIZE], HAND_SIZE);
      deadwoodSum += score.BestDeadwood();
    }
    const auto arranged = std::chrono::steady_clock::now();
    seconds += std::chrono::duration<double>(arranged - start).count();
    for (unsigned i = 0; i < count; ++i) numberSum += LeastDeadwood(CardMask(&chunk[static_cast<size_t>(i) * HAND_SIZE], HAND_SIZE));
    numberSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - arranged).count();
    done += count;
    progress.Show(done);
  }
  ProgressBar::Clear();
  std::printf("hands: %lu\n", hands);
  std::printf("seconds: %.3f\n", seconds);
  std::printf("hands per second: %.0f\n", seconds > 0 ? hands / seconds : 0.0);
  std::printf("mean deadwood: %.3f\n", hands ? static_cast<double>(deadwoodSum) / hands : 0.0);
  std::printf("number alone, hands per second: %.0f\n", numberSeconds > 0 ? hands / numberSeconds : 0.0);
  if (numberSum != deadwoodSum) {
    std::fprintf(stderr, "quorla-lab bench: the number alone and the arrangement disagree on the deadwood\n");
    return 1;
  }
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  unsigned long hands = DEFAULT_HANDS, seed = 1;
  CommandOptions options("bench", PrintHelp);
  options.Whole("--hands", 1, MAX_DEADWOOD_HANDS, hands);
  options.Whole("--seed", 0, MAX_SEED, seed);
  if (args.empty()) return options.Fail("missing subject: 'deadwood', 'game' or 'history'");
  if (args[0] == "--help" || args[0] == "-h") {
    PrintHelp();
    std::printf("\n");
    PrintBenchGameHelp();
    std::printf("\n");
    PrintBenchHistoryHelp();
    return 0;
  }
  const std::vector<std::string_view> rest(args.begin() + 1, args.end());
  if (args[0] == "game") return RunBenchGame(rest);
  if (args[0] == "history") return RunBenchHistory(rest);
  if (args[0] != "deadwood") return options.Fail("unknown subject '" + std::string(args[0]) + "'");
  if (auto status = options.Parse(rest)) return *status;
  return BenchDeadwood(hands, seed);
}
}  // namespace

const LabCommand& BenchCommand() {
  static const LabCommand command{"bench", "throughput benchmarks (bench deadwood, bench game, bench history)", Run, PrintHelp};
  return command;
}
