#include <gtest/gtest.h>

#include "game/layoffs.h"
#include "game/rules.h"
#include "game/score_iterators.h"
#include "test_hands.h"

namespace {
struct Knock {
  std::vector<unsigned> KnockerCards;
  std::vector<unsigned> DefenderCards;
  NxHandScore Knocker;
  NxHandScore Defender;
  LaidOffList LaidOff;

  Knock(const std::string& knocker, const std::string& defender)
      : KnockerCards(Cards(knocker)), DefenderCards(Cards(defender)), Knocker(KnockerCards.data(), 10),
        Defender(DefenderCards.data(), 10, &Knocker),
        LaidOff(FindLaidOffCards(Defender, Knocker, DefenderCards.data(), 10, 1)) {}

  std::vector<unsigned> Listed() const { return {LaidOff.Cards.begin(), LaidOff.Cards.begin() + LaidOff.Count}; }
};

// The knocker in these cases: run 5-6-7 of hearts, three sevens... and
// deadwood that the defender cannot use.
constexpr const char* RUN_KNOCKER = "5H 6H 7H KS KD KC 2C 2D 3S 4S";
constexpr const char* SET_KNOCKER = "7S 7D 7C KS KD KC 2C 2D 3S 4S";
}  // namespace

TEST(Layoffs, CardsExtendingTheKnockersRunAreLaidOff) {
  Knock knock(RUN_KNOCKER, "4H 8H 9C JC QD 10D 9D 5S 6S JS");
  EXPECT_EQ(knock.Listed(), Cards("4H 8H"));
  auto caption = LaidOffCaption(knock.LaidOff);
  ASSERT_EQ(caption.size(), 2u);
  EXPECT_EQ(caption[0].Rank, "4");
  EXPECT_EQ(caption[1].Rank, "8");
  EXPECT_EQ(caption[0].SuitSign, 0xA9);
  EXPECT_EQ(knock.LaidOff.TitleId(), COMPUTER_CARDS_LAID_OFF);
  EXPECT_EQ(knock.Defender.BestDeadwood(), 9 + 10 + 10 + 10 + 9 + 5 + 6 + 10);
}

TEST(Layoffs, TheDefendersOwnRunJoinedToTheKnockersIsNotALayoff) {
  Knock knock(RUN_KNOCKER, "8H 9H 10H JC QD 3D 4C 5S 6S JS");
  EXPECT_EQ(knock.LaidOff.Count, 0u);
  EXPECT_EQ(knock.Defender.BestDeadwood(), 10 + 10 + 3 + 4 + 5 + 6 + 10);
}

TEST(Layoffs, TheFourthSevenIsLaidOffOnTheSet) {
  Knock knock(SET_KNOCKER, "7H 9C JC QD 10D 9D 5S 6S JS 8C");
  EXPECT_EQ(knock.Listed(), Cards("7H"));
}

TEST(Layoffs, AnOwnRunThroughTheFourthSevenBeatsTheLayoff) {
  Knock knock(SET_KNOCKER, "7H 5H 6H QD 10D 9D 9C JS 8C QC");
  EXPECT_EQ(knock.LaidOff.Count, 0u);
  EXPECT_EQ(knock.Defender.BestDeadwood(), 10 + 10 + 9 + 9 + 10 + 8 + 10);
}

TEST(Layoffs, KnockerCardsNeverJoinANewMeldOfTheDefender) {
  // 7D 7C with the knocker's 7H would make a set, but that breaks the run.
  Knock knock(RUN_KNOCKER, "7D 7C QD 10D 9D 9C JS 2S QC 5S");
  for (unsigned card : Cards("7D 7C")) {
    bool dead = false;
    NxScoreUnmatchedIterator it(knock.Defender);
    while (it.HasMore())
      if (it.Next() == card) dead = true;
    EXPECT_TRUE(dead);
  }
  EXPECT_EQ(knock.LaidOff.Count, 0u);
}

TEST(Layoffs, AGinIsScoredWithoutLayoffs) {
  auto knocker = Cards("5H 6H 7H 8H KS KD KC 2C 2D 2S");
  auto defender = Cards("4H 9H JC QD 10D 9D 5S 6S JS 3C");
  NxHandScore knockerScore(knocker.data(), 10);
  ASSERT_EQ(knockerScore.BestDeadwood(), 0);
  LaidOffList laidOff;
  HandResult result = ScoreHand(0, knockerScore, defender.data(), 10, &laidOff);
  EXPECT_TRUE(result.Gin);
  EXPECT_EQ(result.Difference, 4 + 9 + 10 + 10 + 10 + 9 + 5 + 6 + 10 + 3);
  EXPECT_EQ(result.Points, result.Difference + 25);
  EXPECT_EQ(laidOff.Count, 0u);
}

TEST(Layoffs, ComputedFromTheTablePiles) {
  auto deck = DealtTableDeck(5);
  std::unique_ptr<NxHandScore> scores[2];
  std::array<uint32_t, HAND_CARDS> positions;
  int32_t knocker = ScorePile(*deck, COMPUTER_PILE, scores[COMPUTER_PILE], positions);
  EXPECT_EQ(knocker, scores[COMPUTER_PILE]->BestDeadwood());
  LaidOffList laidOff;
  int32_t defender = ComputeLayoffs(*deck, HUMAN_PILE, scores, positions, laidOff);
  // The positions name exactly the deadwood cards of the human's pile.
  int32_t points = 0;
  for (uint32_t position : positions)
    if (position != NoCard) points += CardPoints[RankOf(deck->CardIndexAt(HUMAN_PILE, position))];
  EXPECT_EQ(points, defender);
  EXPECT_TRUE(scores[HUMAN_PILE]->IsLayoffMode() || scores[COMPUTER_PILE]->BestCase()->Melds.empty());
}
