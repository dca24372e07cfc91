#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../neural/net_fixture.h"
#include "player/arena_match.h"
#include "training/network_fit.h"
#include "training/outcome_calibration.h"
#include "player/position_network.h"
#include "training/starting_networks.h"
#include "training/trial_positions.h"
#include "table_fixture.h"

namespace {

NetPtr PositionNet() {
  NetPtr net(CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE));
  ApplyStartingDesign(*net, LevelStartingDesign(3));
  return net;
}

// The positions rated by the computer seat during a short match at the top level.
void WatchMatch(TrialPositions& trials, int32_t seed) {
  MatchOptions options;
  options.Level = 3;
  options.Seed = seed;
  ArenaMatch match(options, [](GameFlow&) { return std::make_unique<SimplePlayer>(); });
  match.Computer().WatchTrials(&trials);
  MatchStats stats;
  ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
}

int HeldCards(const float* cells) {
  int held = 0;
  for (unsigned card = 0; card < 52; ++card) held += cells[(card / 13) * 14 + card % 13] > 0.5f ? 1 : 0;
  return held;
}

}  // namespace

TEST(TrialPositions, EveryDecisionOfTheComputerBringsItsElevenPositions) {
  ScratchInstallation install;
  TrialPositions trials;
  WatchMatch(trials, 17);
  ASSERT_GT(trials.Decisions(), 20u);
  for (size_t d = 0; d < trials.Decisions(); ++d) {
    // A take rates the hand as it is and ten discards after taking; a
    // discard rates its eleven cards.
    ASSERT_EQ(trials.End(d) - trials.First(d), 11u) << "decision " << d;
    for (size_t p = trials.First(d); p < trials.End(d); ++p) {
      EXPECT_EQ(HeldCards(trials.Cells(p)), 10);
      double cells[TrialPositions::CELLS];
      std::copy(trials.Cells(p), trials.Cells(p) + TrialPositions::CELLS, cells);
      EXPECT_NEAR(trials.Target(p), TeacherValue(cells), 1e-12);
    }
  }
}

// Learning trains every reached position of a hand towards the hand's
// outcome; the turns count the player's own positions from the deal.
TEST(TrialPositions, ReachedPositionsCarryTheirTurnAndTheirHandsOutcome) {
  ScratchInstallation install;
  TrialPositions trials;
  WatchMatch(trials, 17);
  const auto& reached = trials.Outcomes();
  ASSERT_GT(reached.size(), 20u);
  size_t hands = 0;
  for (size_t i = 0; i < reached.size(); ++i) {
    const bool dealt = reached[i].Turn == 0;
    hands += dealt ? 1 : 0;
    if (!dealt) {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(reached[i].Turn, reached[i - 1].Turn + 1) << i;
      EXPECT_EQ(reached[i].Result, reached[i - 1].Result) << i;
    }
    EXPECT_GE(reached[i].Result, 0.1);  // a loss counts at most 100 points
    EXPECT_LE(reached[i].Result, 0.9);
    const double points = (reached[i].Result - 0.5) / 0.004;
    EXPECT_NEAR(points, std::round(points), 1e-6) << reached[i].Result;
  }
  EXPECT_GE(hands, 2u);
}

// Exact lines come back exactly; a falling line keeps the least slope so the
// teacher's order survives; a thin stage borrows the line of all positions.
TEST(OutcomeCalibration, FitsOneLinePerStageOfTheHand) {
  std::vector<TrialPositions::Outcome> outcomes;
  for (int i = 0; i < 400; ++i) {
    const double teacher = 0.3 + 0.001 * i;
    outcomes.push_back({teacher, 0, 0.2 + 0.5 * teacher});   // stage 0
    outcomes.push_back({teacher, 3, 0.6 - 0.1 * teacher});   // stage 1, falling
  }
  outcomes.push_back({0.5, 4, 0.9});  // stage 2 has a single position
  const OutcomeCalibration c = FitOutcomeCalibration(outcomes, 0.05);
  EXPECT_NEAR(c.Slope[0], 0.5, 1e-9);
  EXPECT_NEAR(c.Map(0.4, 1), 0.4, 1e-9);
  EXPECT_EQ(c.Slope[1], 0.05);
  EXPECT_EQ(c.Count[2], 1u);
  EXPECT_GT(c.Slope[2], 0.05);
  EXPECT_LT(c.Slope[2], 0.5);
  EXPECT_EQ(c.Map(0.6, 40), c.Intercept[OutcomeCalibration::STAGES - 1] + 0.6 * c.Slope[OutcomeCalibration::STAGES - 1]);
}

TEST(FitToTeacher, BringsThePositionNetworkCloserToTheTeacherAndKeepsItsOwnOutputsExact) {
  ScratchInstallation install;
  TrialPositions trials;
  for (int32_t seed = 1; seed <= 12; ++seed) WatchMatch(trials, seed);
  NetPtr net = PositionNet();
  FitOptions options;
  options.Epochs = 40;
  unsigned epochs = 0;
  FitReport report = FitToTeacher(*net, trials, options, [&](unsigned epoch) { epochs = epoch; });
  ASSERT_TRUE(report.Fitted);
  EXPECT_EQ(epochs, 40u);
  EXPECT_LT(report.SpreadAfter, 0.6 * report.SpreadBefore);
  EXPECT_GT(report.AgreementAfter, report.AgreementBefore);
  // The copy the fit worked on and the fixed-point network agree.
  EXPECT_LT(report.LargestDeviation, 0.001);

  // The same collection and seed give the same weights.
  NetPtr again = PositionNet();
  FitToTeacher(*again, trials, options);
  EXPECT_EQ(AllWeights(*again), AllWeights(*net));
}

TEST(FitToTeacher, LearnsTheDifferencesWithinOneDecision) {
  // Many passes over a single decision: only right gradients keep closing in.
  TrialPositions one;
  double cells[TrialPositions::CELLS] = {};
  const unsigned hand[] = {0, 1, 2, 6, 19, 25, 37, 47, 17, 33, 44};
  for (unsigned card : hand) cells[(card / 13) * 14 + card % 13] = 0.9;
  cells[27] = 0.1;
  one.DecisionStarts();
  for (unsigned card : hand) {
    double& cell = cells[(card / 13) * 14 + card % 13];
    cell = -0.2;
    one.Trial(cells);
    cell = 0.9;
  }
  NetPtr net = PositionNet();
  FitOptions options;
  options.Epochs = 3000;
  options.DecisionsPerBatch = 1;
  FitReport report = FitToTeacher(*net, one, options);
  ASSERT_TRUE(report.Fitted);
  EXPECT_GT(report.SpreadBefore, 1.0);
  EXPECT_LT(report.SpreadAfter, 0.4 * report.SpreadBefore);
  EXPECT_EQ(report.AgreementAfter, 1.0);
}

TEST(FitToTeacher, LeavesNetworksItCannotCopyAlone) {
  NetPtr linear(CreateTempDiffNet(TwoLayerConfig({14, 4}, {1, 1}, LINEAR), 0.5));
  std::vector<FP12_20> before = AllWeights(*linear);
  TrialPositions none;
  EXPECT_FALSE(FitToTeacher(*linear, none, FitOptions{}).Fitted);
  EXPECT_EQ(AllWeights(*linear), before);
}

TEST(CopyWeights, CopiesBetweenNetworksOfOneShapeOnly) {
  NetPtr from = PositionNet();
  NetPtr to(CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE));
  ASSERT_TRUE(CopyWeights(*from, *to));
  EXPECT_EQ(AllWeights(*to), AllWeights(*from));

  NetPtr other(CreateTempDiffNet(TwoLayerConfig({14, 4}, {1, 1}), 0.5));
  std::vector<FP12_20> before = AllWeights(*other);
  EXPECT_FALSE(CopyWeights(*from, *other));
  EXPECT_EQ(AllWeights(*other), before);
}
