#include <gtest/gtest.h>

#include <filesystem>

#include "app/history_keeper.h"
#include "table_fixture.h"
#include "table_scenario.h"
#include "test_files.h"

namespace {

// Ends a hand with a knock of the computer's.
void KnockOnce(HeadlessTable& table) {
  TableScenario::State(table).HandOver = false;
  TableScenario::State(table).KnockLimit = 100;
  ASSERT_TRUE(table.Flow.EvaluateKnock(COMPUTER_SEAT));
}

size_t HistoryMessages(const HeadlessTable& table) {
  size_t count = 0;
  for (const auto& message : table.View.Messages) count += message.Caption == HISTORY_CAPTION;
  return count;
}

}  // namespace

// Hands go into the configuration's history at the level played; a history
// that cannot be written is told once, and the hands go on being scored.
TEST(HistoryKeeper, RecordsEachHandAtItsLevelAndTellsAFailureOnce) {
  ScratchInstallation install;
  const std::string folder = TempPath("keeper") + "/";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  HeadlessTable table;
  table.Record.Target = 100000;  // no knock here ends the game
  Preferences prefs;
  prefs.DifficultyLevel = 3;
  prefs.Master = true;
  {
    HistoryKeeper keeper(table.Flow, table.View, prefs);
    keeper.OpenIn(folder);
    table.Flow.DealHand();
    KnockOnce(table);
    prefs.Master = false;
    KnockOnce(table);
    const std::vector<RecordedHand> hands = keeper.History().Hands();
    ASSERT_EQ(hands.size(), 2u);
    EXPECT_EQ(hands[0].Level, 4u);
    EXPECT_EQ(hands[1].Level, 3u);
    EXPECT_EQ(hands[1].Hand.Number, 2u);
  }
  EXPECT_FALSE(table.Flow.HandPlayed) << "a keeper gone leaves no call behind";

  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder + PlayHistory::FILE_NAME);
  HistoryKeeper keeper(table.Flow, table.View, prefs);
  keeper.OpenIn(folder);
  const uint32_t rowsBefore = table.Record.NumScores;
  KnockOnce(table);
  KnockOnce(table);
  EXPECT_EQ(HistoryMessages(table), 1u);
  EXPECT_EQ(table.Record.NumScores, rowsBefore + 2);
}
