// A short look at the computer player's position network: it is built, then
// trained by temporal differences on synthetic hands, and its predictions
// are printed before and after.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "cli.h"
#include "player/position_network.h"
#include "neural/neural.h"

namespace {

constexpr int CELLS = 56;
constexpr int STEPS = 6;

int CellOf(int card) { return (card / 13) * 14 + card % 13; }

// A toy hand: ten distinct cards out of 52.
struct Hand {
  int cards[10];

  void Deal(NxRandomGenerator& random) {
    for (int i = 0; i < 10; ++i) {
      do cards[i] = random.rand() % 52;
      while (Holds(cards[i], i));
    }
  }
  bool Holds(int card, int upTo = 10) const {
    for (int i = 0; i < upTo; ++i)
      if (cards[i] == card) return true;
    return false;
  }
  // The share of cards next to another card of the same suit or rank: a
  // rough stand-in for how well a hand is coming together.
  double Connectedness() const {
    int connected = 0;
    for (int c : cards) {
      int rank = c % 13;
      bool near = (rank > 0 && Holds(c - 1)) || (rank < 12 && Holds(c + 1));
      for (int s = 0; s < 4 && !near; ++s) near = s != c / 13 && Holds(s * 13 + rank);
      connected += near;
    }
    return connected / 10.0;
  }
  void Encode(double* cells, int step) const {
    std::memset(cells, 0, CELLS * sizeof(double));
    for (int c : cards) cells[CellOf(c)] = 0.9;
    cells[13] = step / 30.0 + 0.1;
    cells[27] = 0.1;
    cells[41] = 10 * 0.08 + 0.1;
    cells[55] = 0.5;
  }
  // Keeps the card that connects best among the hand and a new one.
  void Improve(NxRandomGenerator& random) {
    int fresh;
    do fresh = random.rand() % 52;
    while (Holds(fresh));
    double best = Connectedness();
    int slot = -1;
    for (int i = 0; i < 10; ++i) {
      int old = cards[i];
      cards[i] = fresh;
      double score = Connectedness();
      if (score > best) best = score, slot = i;
      cards[i] = old;
    }
    if (slot < 0) slot = random.rand() % 10;
    cards[slot] = fresh;
  }
};

double Outcome(const Hand& hand) { return 0.1 + 0.8 * hand.Connectedness(); }

// Mean absolute error of the first prediction of a hand over fresh hands.
double OpeningError(NxTemporalDifferenceNet& net, unsigned seed) {
  NxRandomGenerator random;
  random.Seed = seed;
  random.InitTable();
  double cells[CELLS];
  double total = 0;
  const int count = 200;
  for (int h = 0; h < count; ++h) {
    Hand hand;
    hand.Deal(random);
    hand.Encode(cells, 0);
    double predicted = net.GetOutput(cells, false, false)[0];
    Hand future = hand;
    for (int s = 1; s < STEPS; ++s) future.Improve(random);
    total += std::fabs(Outcome(future) - predicted);
  }
  return total / count;
}

int Run(int argc, char** argv) {
  unsigned long hands = 3000;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::printf("usage: neural-demo [--hands N]\nTrains the computer player's network shape on synthetic hands.\n");
      return 0;
    } else if (!std::strcmp(argv[i], "--hands") && i + 1 < argc) {
      hands = cli::PositiveCount("--hands", argv[++i]);
    } else {
      std::fprintf(stderr, "neural-demo: unknown argument '%s' (try --help)\n", argv[i]);
      return 2;
    }
  }

  NxFixRandomSeed(7);
  NxNeuralBase* base = CreateTempDiffNet(PositionNetworkTopology(), 0.7);
  auto& net = *static_cast<NxTemporalDifferenceNet*>(base);
  net.SetupStandardLearning(0.625);
  net.SetAutoRates(true, 40);
  std::printf("Position network: 56 inputs -> 44 run detectors, 13 rank nodes, 6 feature nodes -> 7 -> 1 output\n");
  std::printf("Each hand is a sequence of %d positions; its outcome is how well the final cards connect.\n\n", STEPS);
  std::printf("%8s  %s\n", "hands", "mean |outcome - opening prediction| on 200 unseen hands");
  std::printf("%8d  %.4f\n", 0, OpeningError(net, 99));

  NxRandomGenerator random;
  double cells[CELLS];
  for (unsigned long h = 1; h <= hands; ++h) {
    Hand hand;
    hand.Deal(random);
    for (int s = 0; s < STEPS; ++s) {
      if (s > 0) hand.Improve(random);
      hand.Encode(cells, s);
      net.GetOutput(cells, true, s == 0);
    }
    double outcome = Outcome(hand);
    net.TrainOnOutcomes(&outcome);
    cli::Progress("training", h, hands);
    if (h % (hands / 5 ? hands / 5 : 1) == 0) std::printf("%8lu  %.4f\n", h, OpeningError(net, 99));
  }
  DeleteNet(base);
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return cli::CheckedExit("neural-demo", Run(argc, argv)); }
