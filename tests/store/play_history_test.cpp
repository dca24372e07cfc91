#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "neural/random.h"
#include "store/history_figures.h"
#include "store/play_history.h"
#include "test_files.h"

namespace {

PlayedHand Knock(uint32_t number, uint32_t knocker, uint32_t points) {
  PlayedHand hand;
  hand.Variation = 1;
  hand.Target = 100;
  hand.Number = number;
  hand.Knocker = knocker;
  hand.Winner = knocker;
  hand.Deadwood[knocker] = 4;
  hand.Deadwood[1 - knocker] = 4 + static_cast<int32_t>(points);
  hand.Points = points;
  return hand;
}

std::string FreshHistory(const std::string& name) {
  const std::string path = TempPath(name);
  for (const char* end : {"", "-wal", "-shm"}) std::filesystem::remove(path + end);
  return path;
}

}  // namespace

TEST(PlayHistory, KeepsHandsAndFinishedGamesAcrossOpenings) {
  const std::string path = FreshHistory("history-kept.db");
  {
    PlayHistory history;
    ASSERT_TRUE(history.Open(path)) << history.Problem();
    EXPECT_TRUE(history.Record(Knock(1, 0, 21), 2));
    PlayedHand tie;
    tie.Number = 2;
    tie.Deadwood[0] = 17;
    tie.Deadwood[1] = 30;
    EXPECT_TRUE(history.Record(tie, 2));
    PlayedHand last = Knock(2, 1, 100);
    last.Gin = true;
    last.EndsGame = true;
    last.HandsWon[0] = last.HandsWon[1] = 1;
    last.Totals.Total[0] = 41;
    last.Totals.Total[1] = 245;
    last.Totals.Result = 1;
    EXPECT_TRUE(history.Record(last, 4));
  }
  PlayHistory again;
  ASSERT_TRUE(again.Open(path)) << again.Problem();
  const std::vector<RecordedHand> hands = again.Hands();
  ASSERT_EQ(hands.size(), 3u);
  EXPECT_EQ(hands[0].Hand.Knocker, 0u);
  EXPECT_EQ(hands[0].Hand.Points, 21u);
  EXPECT_EQ(hands[0].Level, 2u);
  EXPECT_EQ(hands[0].Played.size(), 19u);  // YYYY-MM-DD HH:MM:SS
  EXPECT_EQ(hands[1].Hand.Knocker, PlayedHand::NOBODY);
  EXPECT_EQ(hands[1].Hand.Winner, PlayedHand::NOBODY);
  EXPECT_EQ(hands[1].Hand.Deadwood[1], 30);
  EXPECT_TRUE(hands[2].Hand.Gin && hands[2].Hand.EndsGame);
  EXPECT_EQ(hands[2].Level, 4u);
  EXPECT_EQ(again.Games().size(), 1u);
}

// Whatever lies where the history should be, opening and recording answer
// with a reason and never hang or crash; a sound history stays sound.
TEST(PlayHistory, RefusesWhatIsNoHistoryWithAReason) {
  BlockingGuard guard;
  const std::string path = FreshHistory("history-bad.db");
  for (BadFile kind : NOT_REGULAR_FILES) {
    PlantBadFile(kind, path);
    PlayHistory history;
    EXPECT_FALSE(history.Open(path)) << Describe(kind);
    EXPECT_NE(history.Problem().find("not a regular file"), std::string::npos) << Describe(kind);
    EXPECT_FALSE(history.Record(Knock(1, 0, 5), 0)) << Describe(kind);
    std::filesystem::remove_all(path);
    std::filesystem::remove(path + ".target");
  }
  // Garbage, a newer layout, a file cut short and a missing folder.
  NxRandomGenerator gen;
  gen.Seed = 31;
  gen.InitTable();
  std::vector<unsigned char> noise(3000);
  for (unsigned char& byte : noise) byte = static_cast<unsigned char>(gen.rand());
  WriteAll(FreshHistory("history-bad.db"), noise);
  PlayHistory garbage;
  EXPECT_FALSE(garbage.Open(path));
  EXPECT_NE(garbage.Problem().find(path), std::string::npos);
  EXPECT_FALSE(garbage.Record(Knock(1, 0, 5), 0));
  EXPECT_TRUE(garbage.Hands().empty());

  {
    PlayHistory newer;
    ASSERT_TRUE(newer.Open(FreshHistory("history-bad.db")));
    newer.Record(Knock(1, 0, 5), 0);
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA user_version=9", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  PlayHistory newer;
  EXPECT_FALSE(newer.Open(path));
  EXPECT_NE(newer.Problem().find("newer"), std::string::npos);
  EXPECT_FALSE(newer.Record(Knock(2, 0, 5), 0));
  EXPECT_EQ(newer.Hands().size(), 1u);

  std::vector<unsigned char> bytes = ReadAll(path);
  bytes.resize(bytes.size() / 3);
  WriteAll(path, bytes);
  std::filesystem::remove(path + "-wal");
  PlayHistory cut;
  if (cut.Open(path)) cut.Record(Knock(2, 0, 5), 0);
  cut.Hands();

  PlayHistory nowhere;
  EXPECT_FALSE(nowhere.Open(TempPath("no-such-folder") + "/sub/" + PlayHistory::FILE_NAME));
  EXPECT_FALSE(nowhere.Problem().empty());
}

// A process killed at any moment of its writes leaves every hand it
// committed, each once: the hands carry consecutive numbers, and the count
// is what the writer last reported or the one hand after it.
TEST(PlayHistory, KillsDuringWritesLoseNoHandAndCountNoneTwice) {
  const std::string path = FreshHistory("history-killed.db");
  NxRandomGenerator gen;
  gen.Seed = 7;
  gen.InitTable();
  uint32_t before = 0;
  for (int round = 0; round < 50; ++round) {
    int reports[2];
    ASSERT_EQ(pipe(reports), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      close(reports[0]);
      PlayHistory history;
      if (!history.Open(path)) _exit(2);
      uint32_t number = static_cast<uint32_t>(history.Hands().size());
      for (;;) {
        if (!history.Record(Knock(number + 1, number % 2, number % 50), 1)) _exit(3);
        ++number;
        if (write(reports[1], &number, sizeof number) != sizeof number) _exit(4);
      }
    }
    close(reports[1]);
    usleep(static_cast<useconds_t>(2000 + gen.rand() % 20000));
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << WEXITSTATUS(status);
    uint32_t reported = before, number = 0;
    while (read(reports[0], &number, sizeof number) == sizeof number) reported = number;
    close(reports[0]);

    PlayHistory check;
    ASSERT_TRUE(check.Open(path)) << check.Problem();
    const std::vector<RecordedHand> hands = check.Hands();
    ASSERT_GE(hands.size(), reported) << round;
    ASSERT_LE(hands.size(), reported + 1u) << round;
    for (size_t i = 0; i < hands.size(); ++i) ASSERT_EQ(hands[i].Hand.Number, i + 1) << round;
    before = static_cast<uint32_t>(hands.size());
  }
}

// The figures beside the statistics: a stock's tie neither extends nor
// breaks a streak, and watched games count nowhere.
TEST(PlayHistory, FiguresCountThePersonsHandsAndGames) {
  std::vector<RecordedHand> hands;
  auto add = [&](uint32_t winner, uint32_t points, bool gin = false, bool undercut = false, bool watched = false) {
    RecordedHand row;
    row.Hand.Number = static_cast<uint32_t>(hands.size() + 1);
    row.Hand.Knocker = undercut ? 1 - winner : winner;
    row.Hand.Points = points;
    row.Hand.Winner = winner;
    row.Hand.Gin = gin;
    row.Hand.Undercut = undercut;
    row.Hand.Watched = watched;
    hands.push_back(row);
  };
  add(0, 10, true);
  add(0, 20, false, true);
  add(PlayedHand::NOBODY, 0);
  add(0, 5);
  add(1, 30);
  add(0, 7);
  add(0, 50, false, false, true);
  const std::vector<RecordedGame> games = {
      {4, 1, false, 0}, {4, 1, false, 1}, {2, 0, false, 0}, {2, 0, true, 1}, {3, 2, false, PlayedHand::NOBODY}};
  const HistoryFigures figures = FiguresOf(hands, games);
  EXPECT_EQ(figures.HandsPlayed, 6u);
  EXPECT_EQ(figures.HandsWon, 4u);
  EXPECT_EQ(figures.HandsLost, 1u);
  EXPECT_EQ(figures.Knocks, 3u);  // the undercut was the computer's knock
  EXPECT_EQ(figures.Gins, 1u);
  EXPECT_EQ(figures.Undercuts, 1u);
  EXPECT_EQ(figures.LongestWinningStreak, 3u);
  EXPECT_DOUBLE_EQ(figures.PointsPerHand, (10 + 20 + 5 - 30 + 7) / 6.0);
  EXPECT_EQ(figures.GamesByLevel[4].Won, 1u);
  EXPECT_EQ(figures.GamesByLevel[4].Played, 2u);
  EXPECT_EQ(figures.GamesByLevel[2].Played, 1u);
  EXPECT_EQ(figures.GamesByVariation[2].Won, 0u);
  EXPECT_EQ(figures.GamesByVariation[2].Played, 1u);
  // Won, won, won, lost, won: the tie and the watched hand leave no point.
  ASSERT_EQ(figures.WinRateOverTime.size(), 5u);
  EXPECT_DOUBLE_EQ(figures.WinRateOverTime[2].Rate, 1.0);
  EXPECT_DOUBLE_EQ(figures.WinRateOverTime[3].Rate, 0.75);
  EXPECT_DOUBLE_EQ(figures.WinRateOverTime[4].Rate, 0.8);
  EXPECT_EQ(figures.PointsOverTime, (std::vector<int32_t>{10, 20, 0, 5, -30, 7}));
  EXPECT_DOUBLE_EQ(figures.RecentPointsPerHand, 2.0);
  // Past the window only the last hands count.
  for (int i = 0; i < 20; ++i) add(1, 5);
  EXPECT_DOUBLE_EQ(FiguresOf(hands, {}).WinRateOverTime.back().Rate, 0.0);
  EXPECT_DOUBLE_EQ(FiguresOf(hands, {}).RecentPointsPerHand, -5.0);
}

// Each level's blocks follow the hands played at it, whatever was played at
// the others in between; a tie is no hand of a block, and a last block
// too short to say anything is left out.
TEST(PlayHistory, FiguresShowTheComputersShareByLevelInBlocks) {
  std::vector<RecordedHand> hands;
  auto add = [&](uint32_t level, uint32_t winner) {
    RecordedHand row;
    row.Level = level;
    row.Hand.Winner = winner;
    row.Hand.Points = 1;
    hands.push_back(row);
  };
  for (int i = 0; i < 30; ++i) {
    add(4, i < 20 && i % 4 != 0 ? 0 : 1);
    if (i < 9) add(1, 1);
    add(4, PlayedHand::NOBODY);
  }
  for (int i = 0; i < 10; ++i) add(2, 0);
  const HistoryFigures figures = FiguresOf(hands, {});
  EXPECT_EQ(figures.ComputerShareByLevel[4], (std::vector<double>{0.25, 1.0}));
  EXPECT_TRUE(figures.ComputerShareByLevel[1].empty());
  EXPECT_EQ(figures.ComputerShareByLevel[2], (std::vector<double>{0.0}));
  EXPECT_TRUE(figures.ComputerShareByLevel[0].empty());

  // More values than columns: each column spans its run, every value in one.
  const std::vector<int32_t> values = {1, -2, 3, 4, -5, 6, 7, 8, 9, -10};
  const std::vector<ValueSpan<int32_t>> spans = SpansOf(values, 4);
  ASSERT_EQ(spans.size(), 4u);
  const std::pair<int32_t, int32_t> expected[] = {{-2, 1}, {-5, 4}, {6, 7}, {-10, 9}};
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_EQ(spans[i].Low, expected[i].first) << i;
    EXPECT_EQ(spans[i].High, expected[i].second) << i;
  }
  EXPECT_EQ(SpansOf(values, 100).size(), values.size());
  EXPECT_EQ(SpansOf(values, 100)[4].Low, -5);
  // More blocks than a chart shows: taken together, the last group shorter.
  EXPECT_EQ(MergedShares({0.25, 0.75, 0.5, 1.0, 0.0}, 3), (std::vector<double>{0.5, 0.5}));
  EXPECT_EQ(MergedShares({0.25, 0.75}, 1), (std::vector<double>{0.25, 0.75}));
}
