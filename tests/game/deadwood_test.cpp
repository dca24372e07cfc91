#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/deadwood.h"
#include "game/hand_score.h"
#include "neural/random.h"
#include "test_hands.h"

namespace {

int32_t Least(const std::string& names) {
  auto cards = Cards(names);
  return LeastDeadwood(CardMask(cards.data(), static_cast<unsigned>(cards.size())));
}

}  // namespace

TEST(LeastDeadwood, RunsStopAtTheEndsOfTheirSuit) {
  EXPECT_EQ(Least(""), 0);
  EXPECT_EQ(Least("QH KH AD"), 21);       // no wrap from king to ace
  EXPECT_EQ(Least("KH AD 2D"), 13);       // nor across suits
  EXPECT_EQ(Least("AH 2H 3H"), 0);
  EXPECT_EQ(Least("JC QC KC"), 0);        // the last three ids of the deck
  EXPECT_EQ(Least("AH 2H 3H 4H 5H 6H 7H 8H 9H 10H"), 0);
}

TEST(LeastDeadwood, ChoosesBetweenOverlappingMelds) {
  // 7H in the run or in the set of sevens: the run leaves 7D 7S = 14,
  // the set leaves 5H 6H = 11.
  EXPECT_EQ(Least("5H 6H 7H 7D 7S"), 11);
  // Four of a rank lend one card to a run and keep a set of three.
  EXPECT_EQ(Least("8H 8D 8S 8C 9C 10C KD"), 10);
  // A run of seven gives its middle card to a set and keeps two runs.
  EXPECT_EQ(Least("4S 5S 6S 7S 8S 9S 10S 7H 7D"), 0);
  EXPECT_EQ(Least("4S 5S 6S 7S 8S 9S 7H 7D"), 14);
}

// The number alone counts the cards outside every meld up front and lists
// runs by card id, the arrangement keeps the hand's order; both must agree
// for hands of every size, random and dense ones full of overlaps.
TEST(LeastDeadwood, AgreesWithTheMeldSearch) {
  NxRandomGenerator gen;
  gen.Seed = 99;
  gen.InitTable();
  for (int i = 0; i < 30000; ++i) {
    std::vector<unsigned> pool;
    const unsigned low = static_cast<unsigned>(gen.rand()) % 9;
    for (unsigned card = 0; card < 52; ++card)
      if (i % 2 == 0 || (RankOf(card) >= low && RankOf(card) < low + 5)) pool.push_back(card);
    const unsigned size = static_cast<unsigned>(i % 12);
    for (unsigned k = 0; k < size; ++k)
      std::swap(pool[k], pool[k + static_cast<unsigned>(gen.rand()) % (pool.size() - k)]);
    pool.resize(size);
    NxHandScore score(pool.data(), size);
    ASSERT_EQ(LeastDeadwood(CardMask(pool.data(), size)), score.BestDeadwood()) << ::testing::PrintToString(pool);
  }
}
