#include <gtest/gtest.h>

#include "game/hand_figures.h"
#include "game/rules.h"
#include "game/score_record.h"
#include "test_hands.h"

TEST(KnockLimit, FollowsTheVariation) {
  EXPECT_EQ(KnockLimit(SIMPLE_GIN, true, Cards("KS")[0]), 0u);
  EXPECT_EQ(KnockLimit(STANDARD_GIN, true, Cards("AS")[0]), 10u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, Cards("KS")[0]), 10u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, Cards("10S")[0]), 10u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, Cards("7D")[0]), 7u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, Cards("6C")[0]), 6u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, Cards("AH")[0]), 0u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, false, Cards("AH")[0]), 1u);
  EXPECT_EQ(KnockLimit(OKLAHOMA_GIN, true, NoCard), 10u);
}

TEST(KnockLimit, DecidesLegalityAndTheNetwork) {
  EXPECT_TRUE(IsLegalKnock(10, 10));
  EXPECT_FALSE(IsLegalKnock(11, 10));
  EXPECT_TRUE(IsLegalKnock(0, 0));
  EXPECT_FALSE(IsLegalKnock(1, 0));
  EXPECT_FALSE(IsLegalKnock(-1, 10));
  EXPECT_EQ(NetworkChoice(SIMPLE_GIN, 0), LOW_NET);
  EXPECT_EQ(NetworkChoice(STANDARD_GIN, 10), HIGH_NET);
  EXPECT_EQ(NetworkChoice(OKLAHOMA_GIN, 7), HIGH_NET);
  EXPECT_EQ(NetworkChoice(OKLAHOMA_GIN, 6), LOW_NET);
}

TEST(ScoreKnock, KnockUndercutAndGin) {
  HandResult knock = ScoreKnock(1, 4, 9);
  EXPECT_EQ(knock.Winner, 1u);
  EXPECT_EQ(knock.Points, 5);
  EXPECT_FALSE(knock.Undercut || knock.Gin);

  HandResult undercut = ScoreKnock(1, 5, 5);
  EXPECT_EQ(undercut.Winner, 0u);
  EXPECT_EQ(undercut.Points, 25);
  EXPECT_EQ(undercut.Difference, 0);
  EXPECT_TRUE(undercut.Undercut);

  HandResult gin = ScoreKnock(0, 0, 31);
  EXPECT_EQ(gin.Winner, 0u);
  EXPECT_EQ(gin.Points, 56);
  EXPECT_EQ(gin.Difference, 31);
  EXPECT_TRUE(gin.Gin && !gin.Undercut);

  // The figures a result shows add up the same way.
  EXPECT_EQ(HandResultFigures({9, 28, 0, false, false, 19}),
            "Your deadwood: 9.  Computer's deadwood: 28.\nYou score 28 \u2212 9 = 19.");
  EXPECT_EQ(HandResultFigures({5, 5, 0, false, true, 25}),
            "Your deadwood: 5.  Computer's deadwood: 5.\nYou score 5 \u2212 5 + 25 = 25.");
  EXPECT_EQ(HandResultFigures({31, 0, 1, true, false, 56}),
            "Your deadwood: 31.  Computer's deadwood: 0.\nComputer scores 31 + 25 = 56.");
  EXPECT_EQ(RefusedKnockFigures(14, 10), "Your deadwood: 14.  Maximum knock score: 10.");
}

TEST(ScoreRecord, TheWorkedExample) {
  ScoreRecord record(100);
  EXPECT_FALSE(record.RecordHand(0, 30));
  EXPECT_FALSE(record.RecordHand(1, 12));
  EXPECT_TRUE(record.RecordHand(0, 75));
  EXPECT_EQ(record.Row(0).Human, 30u);
  EXPECT_EQ(record.Row(1).Computer, 12u);
  EXPECT_EQ(record.Row(2).Human, 105u);
  EXPECT_EQ(record.Row(2).Computer, 12u);
  EXPECT_FALSE(record.Shutout);
  EXPECT_EQ(record.NumLines, 3u + 5u);
  FinalTotals totals = record.ApplyFinalTotals();
  EXPECT_EQ(totals.Total[0], 255);
  EXPECT_EQ(totals.Total[1], 37);
  EXPECT_EQ(totals.Result, 0u);
  EXPECT_EQ(totals.Margin, 218);
  EXPECT_EQ(record.GameWinner, 0u);
}

TEST(ScoreRecord, AShutoutDoublesTheWinnerBeforeTheBoxes) {
  ScoreRecord record(100);
  record.RecordHand(1, 60);
  EXPECT_TRUE(record.RecordHand(1, 50));
  EXPECT_TRUE(record.Shutout);
  EXPECT_EQ(record.NumLines, 2u + 6u);
  FinalTotals totals = record.ComputeFinalTotals();
  EXPECT_EQ(totals.Total[1], (110 + 100) * 2 + 50);
  EXPECT_EQ(totals.Total[0], 0);
  EXPECT_EQ(totals.Result, 1u);
}

// The boxes (25 for every hand won) count after the game bonus, so the
// player who reached the target can lose, win narrowly or tie.
TEST(ScoreRecord, EqualFinalTotalsAreATie) {
  // Human: 100 + 100 bonus + 1 box = 225. Computer: 25 points + 4 boxes = 125.
  ScoreRecord record(100);
  for (int i = 0; i < 4; ++i) record.RecordHand(1, i == 0 ? 25 : 0);
  EXPECT_TRUE(record.RecordHand(0, 100));
  FinalTotals totals = record.ApplyFinalTotals();
  EXPECT_EQ(totals.Total[0], 225);
  EXPECT_EQ(totals.Total[1], 125);
  EXPECT_EQ(totals.Result, 0u);
  EXPECT_EQ(totals.Margin, 100);

  // Human 225 against 95 + 5 boxes = 220.
  ScoreRecord close(100);
  close.RecordHand(1, 95);
  for (int i = 0; i < 4; ++i) close.RecordHand(1, 0);
  EXPECT_TRUE(close.RecordHand(0, 100));
  FinalTotals narrow = close.ComputeFinalTotals();
  EXPECT_EQ(narrow.Total[0], 225);
  EXPECT_EQ(narrow.Total[1], 220);
  EXPECT_EQ(narrow.Result, 0u);
  EXPECT_EQ(narrow.Margin, 5);

  // Human 225 against 99 + 6 boxes = 249: the boxes outweigh the target.
  ScoreRecord boxes(100);
  boxes.RecordHand(1, 99);
  for (int i = 0; i < 5; ++i) boxes.RecordHand(1, 0);
  EXPECT_TRUE(boxes.RecordHand(0, 100));
  FinalTotals outweighed = boxes.ApplyFinalTotals();
  EXPECT_EQ(outweighed.Total[0], 225);
  EXPECT_EQ(outweighed.Total[1], 249);
  EXPECT_EQ(outweighed.Result, 1u);
  EXPECT_EQ(boxes.GameWinner, 1u);

  // Human 225 against 75 + 6 boxes = 225.
  ScoreRecord exact(100);
  exact.RecordHand(1, 75);
  for (int i = 0; i < 5; ++i) exact.RecordHand(1, 0);
  EXPECT_TRUE(exact.RecordHand(0, 100));
  FinalTotals tied = exact.ApplyFinalTotals();
  EXPECT_EQ(tied.Total[0], 225);
  EXPECT_EQ(tied.Total[1], 225);
  EXPECT_EQ(tied.Result, GAME_TIED);
  EXPECT_EQ(tied.Margin, 0);
  EXPECT_EQ(exact.GameWinner, GAME_TIED);
}

TEST(ScoreRecord, RowsGrowTwentyAtATime) {
  ScoreRecord record(500);
  record.RecordHand(0, 1);
  EXPECT_EQ(record.RecordsSize, 20u);
  for (int i = 1; i < 20; ++i) record.RecordHand(i % 2, 1);
  EXPECT_EQ(record.RecordsSize, 20u);
  record.RecordHand(0, 1);
  EXPECT_EQ(record.RecordsSize, 40u);
  EXPECT_EQ(record.NumScores, 21u);
  EXPECT_EQ(record.Row(20).Human, 11u);
  EXPECT_EQ(record.Row(20).Computer, 10u);
}

TEST(ScoreRecord, AFinishedGameTakesNoMoreRows) {
  ScoreRecord record(100);
  EXPECT_TRUE(record.RecordHand(0, 120));
  EXPECT_TRUE(record.RecordHand(1, 50));
  EXPECT_EQ(record.NumScores, 1u);
  EXPECT_EQ(record.HandsWon[1], 0u);
  record.NewGame(false);
  EXPECT_FALSE(record.RecordHand(1, 50));
  EXPECT_EQ(record.NumScores, 1u);
}

TEST(ScoreRecord, WatchingOnceMarksTheWholeGame) {
  ScoreRecord record(100);
  record.NewGame(false);
  record.SetWatching(true);
  record.SetWatching(false);
  EXPECT_TRUE(record.Watched);
  record.NewGame(false);
  EXPECT_FALSE(record.Watched);
}
