#include "store/score_sheet.h"
#include "store/score_sheet_summary.h"

#include <gtest/gtest.h>

#include "game/object_stream.h"
#include "game/rules.h"
#include "store/score_stream.h"
#include "store/settings_store.h"
#include "test_files.h"

namespace {

// Target 100: the human wins 30, the computer 12, the human 75.
void PlayTheExampleGame(ScoreSheet& sheet) {
  sheet.NewGame();
  sheet.AddHand(0, 30);
  sheet.AddHand(1, 12);
  sheet.AddHand(0, 75);
}

}  // namespace

TEST(ScoreSheet, TheExampleGameIsCountedOnceWithItsMargin) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, STANDARD_GIN);
  PlayTheExampleGame(sheet);
  EXPECT_EQ(record.Row(2).Human, 105u);
  EXPECT_EQ(record.Row(2).Computer, 12u);
  EXPECT_TRUE(sheet.GameJustEnded());
  FinalTotals totals = sheet.DrawGameEnd();
  EXPECT_EQ(totals.Total[0], 255);
  EXPECT_EQ(totals.Total[1], 37);
  EXPECT_EQ(totals.Margin, 218);
  sheet.DrawGameEnd();  // drawn again: not counted again
  EXPECT_EQ(sheet.Stats.At(USER_WINS, STANDARD_GIN), 1u);
  EXPECT_EQ(sheet.Stats.At(USER_POINTS, STANDARD_GIN), 218u);
  EXPECT_EQ(sheet.Stats.At(USER_BEST_SCORE, STANDARD_GIN), 218u);
  EXPECT_EQ(sheet.Stats.At(COMPUTER_WINS, STANDARD_GIN), 0u);
  EXPECT_EQ(sheet.Stats.At(USER_WINS, SIMPLE_GIN), 0u);
}

TEST(ScoreSheet, TheSummaryFollowsTheRunningTotalsAndTheLead) {
  ScoreRecord record(150);
  ScoreSheet sheet(record, STANDARD_GIN);
  sheet.NewGame();
  auto lines = [&] {
    const ScoreSheetSummary s = SummaryOf(record);
    return s.Target + "|" + s.Totals + "|" + s.Lead;
  };
  EXPECT_EQ(lines(), "Game to 150|Totals:  You 0,  Computer 0|Scores are level");
  sheet.AddHand(1, 12);
  EXPECT_EQ(lines(), "Game to 150|Totals:  You 0,  Computer 12|Computer leads by 12");
  sheet.AddHand(0, 30);
  EXPECT_EQ(lines(), "Game to 150|Totals:  You 30,  Computer 12|You lead by 18");
  sheet.AddHand(1, 18);
  EXPECT_EQ(SummaryOf(record).Lead, "Scores are level");
}

TEST(ScoreSheet, AGameWatchedEvenOnceIsNotCounted) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, SIMPLE_GIN);
  sheet.NewGame();
  sheet.SetWatching(true);
  sheet.AddHand(0, 30);
  sheet.SetWatching(false);
  sheet.AddHand(1, 12);
  sheet.AddHand(0, 75);
  sheet.DrawGameEnd();
  EXPECT_EQ(sheet.Stats.At(USER_WINS, SIMPLE_GIN), 0u);
  // The next game is counted again.
  PlayTheExampleGame(sheet);
  sheet.DrawGameEnd();
  EXPECT_EQ(sheet.Stats.At(USER_WINS, SIMPLE_GIN), 1u);
}

TEST(ScoreSheet, ATieOfFinalTotalsChangesNothing) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, SIMPLE_GIN);
  sheet.NewGame();
  // Computer 75 in six hands (75 + 150 in boxes); human 100 in one (+100, +25).
  for (uint32_t points : {12, 12, 12, 12, 12, 15}) sheet.AddHand(1, points);
  sheet.AddHand(0, 100);
  FinalTotals totals = sheet.DrawGameEnd();
  EXPECT_EQ(totals.Total[0], 225);
  EXPECT_EQ(totals.Total[1], 225);
  EXPECT_EQ(totals.Result, GAME_TIED);
  EXPECT_EQ(record.GameWinner, GAME_TIED);
  EXPECT_EQ(sheet.Stats.Values, Statistics().Values);
}

TEST(ScoreSheet, RowsGrowByTwentyAndTheSheetScrollsToTheLastNineLines) {
  ScoreRecord record(500);
  ScoreSheet sheet(record, SIMPLE_GIN);
  EXPECT_EQ(sheet.ScrollRange(), 100u);
  sheet.NewGame();
  for (int i = 0; i < 20; ++i) sheet.AddHand(static_cast<uint32_t>(i % 2), 1);
  EXPECT_EQ(record.RecordsSize, 20u);
  EXPECT_EQ(sheet.ScrollPosition(), 11u);
  sheet.AddHand(0, 1);
  EXPECT_EQ(record.RecordsSize, 40u);
  EXPECT_EQ(sheet.ScrollPosition(), 12u);
  sheet.NewGame();
  EXPECT_EQ(sheet.ScrollPosition(), 0u);
}

TEST(ScoreSheet, StatisticsLoadAsZerosAndResetReachesTheFileAtTheNextSave) {
  ScratchDirectory dir;
  SettingsStore store("Quorla", dir.Path("QUORLA.INI"), true);
  Statistics stats;
  stats.At(USER_WINS, 1) = 9;
  stats.Load(store);
  EXPECT_EQ(stats.Values, Statistics().Values);
  stats.At(COMPUTER_BEST_SCORE, 2) = 77;
  stats.Save(store);
  EXPECT_EQ(store.ReadInt("Statistics", "ComputerBestScore2", 0), 77u);
  stats.Reset();
  EXPECT_EQ(store.ReadInt("Statistics", "ComputerBestScore2", 0), 77u);
  stats.Save(store);
  EXPECT_EQ(store.ReadInt("Statistics", "ComputerBestScore2", 5), 0u);
}

TEST(ScoreStream, RoundTripsAndRefusesDamagedRecords) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, SIMPLE_GIN);
  PlayTheExampleGame(sheet);
  NxObjectWriter out;
  WriteScoreRecord(out, record);
  ASSERT_EQ(out.Data().size(), 40u + 12u * 3);

  ScoreRecord read(250);
  NxObjectReader in(out.Data());
  ASSERT_TRUE(ReadScoreRecord(in, read));
  EXPECT_EQ(read.NumScores, 3u);
  EXPECT_EQ(read.RecordsSize, 20u);
  EXPECT_EQ(read.Row(2).Human, 105u);
  EXPECT_TRUE(read.GameOver);

  // Word 5 is the capacity, word 0 the rows, word 1 the lines.
  auto damaged = [&](size_t word, uint32_t value) {
    std::vector<uint8_t> bytes = out.Data();
    for (int b = 0; b < 4; ++b) bytes[word * 4 + b] = static_cast<uint8_t>(value >> (8 * b));
    ScoreRecord target(150);
    NxObjectReader reader(bytes);
    bool ok = ReadScoreRecord(reader, target);
    EXPECT_EQ(target.Target, 150u);
    return ok ? std::string() : reader.ErrorText();
  };
  EXPECT_EQ(damaged(5, 2), "data.RecordsSize >= data.NumScores");
  EXPECT_FALSE(damaged(5, 0xFFFFFFF0).empty());
  EXPECT_FALSE(damaged(1, 4).empty());
  EXPECT_FALSE(damaged(3, 1).empty());
  EXPECT_FALSE(damaged(10, 31).empty());  // first row's human total no longer adds up
}
