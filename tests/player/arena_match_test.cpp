#include <gtest/gtest.h>

#include <fstream>

#include "neural/net.h"
#include "player/arena_match.h"
#include "player/network_data_check.h"
#include "player/net_player.h"
#include "table_fixture.h"

namespace {

std::vector<FP12_20> Weights(NxNeuralBase* net) {
  std::vector<FP12_20> weights;
  for (unsigned layer = 1; layer < 16; ++layer) {
    NxBaseLayer* l = net->GetLayer(layer);
    if (!l) continue;
    for (unsigned n = 0; n < l->GetNumNodes(); ++n)
      for (unsigned w = 0; w < l->GetNodeAt(n)->GetNumWeights(); ++w) weights.push_back(l->GetNodeAt(n)->GetWeight(w));
  }
  return weights;
}

}  // namespace

TEST(ArenaMatch, StatisticsAddUpAndMeasuringLeavesTheWeightsAlone) {
  ScratchInstallation install;
  MatchOptions options;
  options.Level = 3;
  options.Seed = 5;
  ArenaMatch match(options, [](GameFlow&) { return std::make_unique<SimplePlayer>(); });
  std::vector<FP12_20> before = Weights(match.Computer().GetNet(HIGH_NET));
  MatchStats stats;
  for (int game = 0; game < 3; ++game) ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
  EXPECT_EQ(stats.Games, 3u);
  EXPECT_EQ(stats.GamesWon[0] + stats.GamesWon[1] + stats.GamesWon[2], 3u);
  EXPECT_EQ(stats.HandsWon[0] + stats.HandsWon[1] + stats.Ties, stats.Hands);
  EXPECT_EQ(Weights(match.Computer().GetNet(HIGH_NET)), before);
}

TEST(ArenaMatch, LearningChangesTheWeightsAndRepeatsForASeed) {
  std::vector<uint64_t> hands;
  for (int run = 0; run < 2; ++run) {
    ScratchInstallation install;
    MatchOptions options;
    options.Learn = true;
    options.Seed = 9;
    ArenaMatch match(options, [](GameFlow&) { return std::make_unique<RandomPlayer>(3); });
    std::vector<FP12_20> before = Weights(match.Computer().GetNet(HIGH_NET));
    MatchStats stats;
    ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
    EXPECT_NE(Weights(match.Computer().GetNet(HIGH_NET)), before);
    hands.push_back(stats.Hands);
  }
  EXPECT_EQ(hands[0], hands[1]);
}

TEST(ArenaMatch, NetPlayersInTheHumanSeatPlayWholeGames) {
  ScratchInstallation install;
  for (uint32_t level : {0u, 3u}) {
    MatchOptions options;
    options.Level = 3;
    options.Seed = 21;
    std::string file = install.Path("QLDEFLT.QLF");
    ArenaMatch match(options, [&](GameFlow& flow) { return std::make_unique<NetPlayer>(flow, level, file); });
    MatchStats stats;
    for (int game = 0; game < 3; ++game) ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
    EXPECT_EQ(stats.HandsWon[0] + stats.HandsWon[1] + stats.Ties, stats.Hands);
    // The top level's rules knock whenever the deadwood allows.
    if (level == 3) {
      EXPECT_GT(stats.HandsWon[0], 0u);
    }
  }
}

TEST(ArenaMatch, NoGameIsPlayedWhenTheNetworksDoNotLoad) {
  ScratchInstallation install;
  // One byte of level 1's first weight record made impossible in both files.
  for (const std::string& path : {install.Path("QLDEFLT.QLF"), install.PlayerPath("QLPLAY.QLF")}) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(27);
    file.put('\x7f');
  }
  EXPECT_NE(network_data::CheckLevelBlock(install.Path("QLDEFLT.QLF"), 0).find("QLDEFLT.QLF: level 1: "),
            std::string::npos);
  EXPECT_EQ(network_data::CheckLevelBlock(install.Path("QLDEFLT.QLF"), 1), "");
  EXPECT_NE(network_data::CheckLevelBlock(install.Path("NONE.QLF"), 1), "");
  MatchOptions options;
  ArenaMatch match(options, [](GameFlow&) { return std::make_unique<SimplePlayer>(); });
  MatchStats stats;
  EXPECT_FALSE(match.PlayGame(stats));
  EXPECT_NE(match.Problem().find("did not start"), std::string::npos);
  EXPECT_EQ(stats.Hands, 0u);
}
