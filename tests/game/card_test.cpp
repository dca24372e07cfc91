#include <gtest/gtest.h>

#include "game/card_id.h"

TEST(CardId, SuitAndRankFollowFromTheId) {
  EXPECT_EQ(CardName(0), "AH");
  EXPECT_EQ(CardName(12), "KH");
  EXPECT_EQ(CardName(13), "AD");
  EXPECT_EQ(CardName(26), "AS");
  EXPECT_EQ(CardName(39), "AC");
  EXPECT_EQ(CardName(51), "KC");
  EXPECT_EQ(CardPoints[RankOf(9)], 10);   // ten
  EXPECT_EQ(CardPoints[RankOf(10)], 10);  // jack
  EXPECT_EQ(CardPoints[RankOf(13)], 1);   // ace
}

TEST(CardId, ParsesNamesAndIds) {
  EXPECT_EQ(ParseCard("10D"), 22u);
  EXPECT_EQ(ParseCard("10d"), 22u);
  EXPECT_EQ(ParseCard("qs"), 37u);
  EXPECT_EQ(ParseCard("51"), 51u);
  EXPECT_EQ(ParseCard("0"), 0u);
  for (const char* bad : {"52", "53", "1D0", "11H", "1H", "AX", "", "H", "-1", "007", "KHH"})
    EXPECT_FALSE(ParseCard(bad).has_value()) << bad;
  for (unsigned card = 0; card < NUM_CARDS; ++card) EXPECT_EQ(ParseCard(CardName(card)), card);
}
