// Times the evaluations the computer player makes with its position network,
// and back-propagation training on a wide net and on a tiny one.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "backprop_bench.h"
#include "cli.h"
#include "player/position_network.h"
#include "neural/neural.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Result {
  const char* name;
  double nanoseconds;
};

// Runs step(i) for i = 0..count-1 in rounds, drawing progress, and returns
// the mean time per step.
template <class Step>
double TimePerStep(const char* label, unsigned long count, Step step) {
  const unsigned long rounds = 20;
  unsigned long perRound = count / rounds ? count / rounds : 1;
  double total = 0;
  for (unsigned long r = 0; r < rounds; ++r) {
    auto start = Clock::now();
    for (unsigned long i = 0; i < perRound; ++i) step(r * perRound + i);
    total += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    cli::Progress(label, r + 1, rounds);
  }
  return total / (perRound * rounds);
}

// A position like the game's: ten own cards, a few known and discarded
// cards, and the four feature cells.
void RandomPosition(NxRandomGenerator& random, double* cells) {
  std::memset(cells, 0, 56 * sizeof(double));
  const double values[] = {0.9, 0.9, 0.9, 0.2, -0.2};
  for (int k = 0; k < 14; ++k) {
    int card = random.rand() % 52;
    cells[(card / 13) * 14 + card % 13] = values[k % 5];
  }
  for (int f : {13, 27, 41, 55}) cells[f] = 0.1 + (random.rand() % 80) / 100.0;
}

bool IsBenchmarkName(const char* name) {
  for (const char* known : {"single-cell", "fresh-vector", "observation", "outcome", "backprop", "backprop-xor"})
    if (!std::strcmp(name, known)) return true;
  return false;
}

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: neural-bench [--iterations N] [--only NAME]\n"
               "Times the computer player's position network (56 inputs, 8012-byte weights record):\n"
               "  single-cell   GetOutput with training off after one input cell changed\n"
               "  fresh-vector  GetOutput with training off on a new input vector\n"
               "  observation   GetOutput with training on (one observation step)\n"
               "  outcome       TrainOnOutcomes at the end of a sequence\n"
               "Reports the mean time per call, single-threaded. Back-propagation training:\n"
               "  backprop      a 64-64-10 sigmoid net, 5,000 random patterns, per-pattern\n"
               "                training with tolerance 0 (every pattern trains), N/1000000 epochs\n"
               "  backprop-xor  the 2-4-1 exclusive-or net, N/10 epochs, with what nxtrain does\n"
               "                per epoch (report every 10 epochs, records formatted, the clock)\n"
               "Reports nanoseconds and connection updates per second; the connections\n"
               "include the biases. N is --iterations (default 2000000, 1..1000000000).\n");
}

int Run(int argc, char** argv) {
  unsigned long iterations = 2000000;
  const char* only = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      Usage(stdout);
      return 0;
    } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
      only = argv[++i];
      if (!IsBenchmarkName(only)) {
        std::fprintf(stderr,
                     "neural-bench: --only takes single-cell, fresh-vector, observation, outcome, backprop "
                     "or backprop-xor, not '%s'\n",
                     only);
        return 2;
      }
    } else if (!std::strcmp(argv[i], "--iterations") && i + 1 < argc) {
      iterations = cli::PositiveCount("--iterations", argv[++i]);
    } else {
      std::fprintf(stderr, "neural-bench: unknown argument '%s'\n", argv[i]);
      Usage(stderr);
      return 2;
    }
  }

  NxFixRandomSeed(20261207);
  NxNeuralBase* base = CreateTempDiffNet(PositionNetworkTopology(), 0.7);
  auto* net = static_cast<NxTemporalDifferenceNet*>(base);
  net->SetupStandardLearning(0.3125);
  net->SetAutoRates(true, 40);

  NxRandomGenerator random;
  std::vector<double> positions(1024 * 56);
  for (size_t p = 0; p < 1024; ++p) RandomPosition(random, &positions[p * 56]);
  double cells[56];
  std::memcpy(cells, positions.data(), sizeof cells);
  net->GetOutput(cells, false, false);

  std::vector<Result> results;
  volatile double sink = 0;
  auto wanted = [only](const char* name) { return !only || !std::strcmp(only, name); };
  if (wanted("single-cell"))
  results.push_back({"single-cell", TimePerStep("single-cell", iterations, [&](unsigned long i) {
                       // The trial of a candidate card: one cell set, evaluated, put back.
                       int cell = (i * 7) % 52;
                       int index = (cell / 13) * 14 + cell % 13;
                       double saved = cells[index];
                       cells[index] = (i & 1) ? 0.9 : -0.2;
                       sink = sink + net->GetOutput(cells, false, false)[0];
                       cells[index] = saved;
                     })});
  if (wanted("fresh-vector"))
  results.push_back({"fresh-vector", TimePerStep("fresh-vector", iterations / 4, [&](unsigned long i) {
                       sink = sink + net->GetOutput(&positions[(i % 1024) * 56], false, false)[0];
                     })});
  if (wanted("observation"))
  results.push_back({"observation", TimePerStep("observation", iterations / 8, [&](unsigned long i) {
                       if (i % 16 == 0) {
                         net->GetOutput(&positions[(i / 16 % 1024) * 56], true, true);
                         return;
                       }
                       int cell = (i * 11) % 52;
                       cells[(cell / 13) * 14 + cell % 13] = (i & 1) ? 0.9 : -0.2;
                       sink = sink + net->GetOutput(cells, true, false)[0];
                     })});
  if (wanted("outcome"))
  results.push_back({"outcome", TimePerStep("outcome", iterations / 32, [&](unsigned long i) {
                       net->GetOutput(&positions[(i % 1024) * 56], true, true);
                       double outcome = (i & 1) ? 0.9 : 0.1;
                       net->TrainOnOutcomes(&outcome);
                     })});
  DeleteNet(base);

  std::vector<backprop_bench::Figure> figures;
  if (wanted("backprop")) figures.push_back(backprop_bench::Wide(iterations / 1000000 ? iterations / 1000000 : 1));
  if (wanted("backprop-xor")) figures.push_back(backprop_bench::Xor(iterations / 10 ? iterations / 10 : 1));

  if (!results.empty()) {
    std::printf("%-14s %12s\n", "benchmark", "ns per call");
    for (const Result& r : results) std::printf("%-14s %12.1f\n", r.name, r.nanoseconds);
    std::printf("(outcome includes the observation step that opens each sequence)\n");
  }
  if (!figures.empty()) {
    std::printf("%-18s %11s %14s %20s\n", "benchmark", "connections", "ns per update", "updates per second");
    for (const backprop_bench::Figure& f : figures)
      std::printf("%-18s %11.0f %14.2f %18.1f M\n", f.name, f.connectionUpdates, f.nanosecondsPerUpdate,
                  1e3 / f.nanosecondsPerUpdate);
    std::printf("(connections include the biases; 2-4-1 includes nxtrain's work between epochs)\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return cli::CheckedExit("neural-bench", Run(argc, argv)); }
