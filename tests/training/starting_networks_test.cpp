#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>

#include "../neural/net_fixture.h"
#include "neural/file.h"
#include "player/position_network.h"
#include "training/starting_networks.h"

namespace {

constexpr double HELD = 0.9;
constexpr double DISCARDED = -0.2;

unsigned Cell(unsigned card) { return (card / 13) * 14 + card % 13; }
int Points(unsigned card) { return card % 13 >= 9 ? 10 : static_cast<int>(card % 13) + 1; }

// A mid-hand position under Standard rules (knock limit 10) holding `cards`.
struct Position {
  double Cells[POSITION_CELLS] = {};

  explicit Position(std::initializer_list<unsigned> cards) {
    int points = 0;
    for (unsigned card : cards) {
      Cells[Cell(card)] = HELD;
      points += Points(card);
    }
    Cells[13] = 5 / 30.0 + 0.1;
    Cells[27] = 0.1;
    Cells[41] = 10 * 0.08 + 0.1;
    Cells[55] = points * 0.8 / 110 + 0.1;
  }
  Position Discarding(unsigned card) const {
    Position after = *this;
    after.Cells[Cell(card)] = DISCARDED;
    after.Cells[55] -= Points(card) * 0.8 / 110;
    return after;
  }
};

class StartingNetwork : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ApplyStartingDesign(*Net, LevelStartingDesign(3))); }
  double Value(const Position& p) { return AsTD(Net)->GetOutput(const_cast<double*>(p.Cells), false, false)[0]; }

  NetPtr Net{CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE)};
};

// Card ids: suit x 13 + rank (0 = ace). Suit 0: 0..12, suit 1: 13..25, ...
constexpr unsigned A0 = 0, TWO0 = 1, THREE0 = 2, FOUR0 = 3, FIVE1 = 17, SIX2 = 31;
constexpr unsigned SEVEN0 = 6, SEVEN1 = 19, SEVEN2 = 32, NINE3 = 47, JACK1 = 23, QUEEN2 = 37, KING3 = 51, KING1 = 25;

}  // namespace

TEST_F(StartingNetwork, ValueFallsWithDeadwoodAndKnockableHandsAreAboveHalf) {
  // Run A-2-3-4, set of sevens, and 5, 6, 9, K unmatched: deadwood 30.
  Position melded({A0, TWO0, THREE0, FOUR0, SEVEN0, SEVEN1, SEVEN2, FIVE1, SIX2, NINE3});
  // Same points, nothing melded.
  Position scattered({A0, TWO0 + 13, THREE0 + 26, FOUR0 + 39, SEVEN0, SEVEN1 + 1, SEVEN2 + 2, FIVE1, SIX2, NINE3});
  Position picture({8, 9, 11, 21, 22, 24, 36, 38, 49, 51});  // nines to kings, no meld
  Position knockable({A0, TWO0, THREE0, FOUR0, SEVEN0, SEVEN1, SEVEN2, FIVE1 - 4, SIX2 - 4, 45});  // deadwood 5
  EXPECT_GT(Value(melded), Value(scattered));
  EXPECT_GT(Value(scattered), Value(picture));
  EXPECT_GT(Value(knockable), 0.5);
  EXPECT_LT(Value(scattered), 0.5);
}

TEST_F(StartingNetwork, PrefersSheddingAnUnmatchedHighCardToBreakingAMeld) {
  Position hand({A0, TWO0, THREE0, SEVEN0, SEVEN1, SEVEN2, FIVE1, SIX2, KING3, NINE3, QUEEN2});
  const double shedKing = Value(hand.Discarding(KING3));
  for (unsigned melded : {A0, TWO0, THREE0, SEVEN0, SEVEN1, SEVEN2})
    EXPECT_GT(shedKing, Value(hand.Discarding(melded))) << "card " << melded;
  EXPECT_GT(shedKing, Value(hand.Discarding(FIVE1)));
}

TEST_F(StartingNetwork, AFeatureOfTheDrawFromTheDiscardPileFavoursTakingTheUpcard) {
  Position stock({A0, TWO0, THREE0, SEVEN0, SEVEN1, FIVE1, SIX2, KING3, NINE3, QUEEN2});
  Position taken = stock;
  taken.Cells[27] = 0.9;
  EXPECT_GT(Value(taken), Value(stock));
  // Worth a few points of deadwood, not a meld.
  Position melded = stock.Discarding(KING3);
  melded.Cells[Cell(SEVEN2)] = HELD;
  melded.Cells[55] += Points(SEVEN2) * 0.8 / 110;
  EXPECT_GT(Value(melded) - Value(stock), Value(taken) - Value(stock));
}

TEST(StartingDesign, RefusesANetworkOfAnotherShape) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {14, 4}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(0, 1, {14, 4}, {0, 0}, {0, 0}, 0);
  NetPtr other(CreateTempDiffNet(config, 0.5));
  EXPECT_FALSE(ApplyStartingDesign(*other, LevelStartingDesign(0)));
}

TEST(StartingDesign, DataFileHoldsFourLoadableLevelsThatDiffer) {
  const std::string path = std::string(::testing::TempDir()) + "starting.qlf";
  ASSERT_TRUE(WriteStartingDataFile(path));
  EXPECT_EQ(std::filesystem::file_size(path), static_cast<uintmax_t>(NUM_LEVELS * LEVEL_BLOCK_BYTES));
  std::vector<std::vector<FP12_20>> high;
  NxFile file(path.c_str(), "rb", true);
  for (unsigned level = 0; level < NUM_LEVELS; ++level) {
    NetPtr low(CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE));
    NetPtr net(CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE));
    file.FSeek(level * LEVEL_BLOCK_BYTES, SEEK_SET);
    ASSERT_TRUE(low->ReadWeights(file)) << level;
    ASSERT_TRUE(net->ReadWeights(file)) << level;
    high.push_back(AllWeights(*net));
  }
  EXPECT_NE(high[0], high[1]);
  EXPECT_NE(high[1], high[2]);
  std::filesystem::remove(path);
}
