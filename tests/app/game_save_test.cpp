#include "app/game_save.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "player/scripted_player.h"
#include "store/preferences.h"
#include "store/resume_availability.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"
#include "table_fixture.h"
#include "test_files.h"
#include "table_scenario.h"

namespace {

// A headless table with the score sheet and the parts saving works on.
struct SavingTable {
  HeadlessTable Table{0, STANDARD_GIN, false, 4242};
  ScoreSheet Sheet{Table.Record, STANDARD_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

struct GameSaveFixture : ::testing::Test {
  ScratchInstallation Install;
  std::string Path = Install.PlayerPath(RESUME_FILE);
};

}  // namespace

TEST_F(GameSaveFixture, AFailedSaveKeepsThePreviousGameAndClearsCanResume) {
  SavingTable t;
  t.Table.Flow.NewGame(false, false);
  SettingsStore store("Quorla", Install.PlayerPath("QUORLA.INI"), true);
  Preferences prefs;
  SaveGameState(t.Parts, store, prefs, Path, false);
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 1u);
  ResumeAvailability availability;
  availability.CheckSettings(store, 7);
  EXPECT_TRUE(availability.IsOffered(7));
  // A move in the game that replaces it: that game is saved over it at close.
  EXPECT_FALSE(availability.IsOffered(8));
  availability.NoteAttempt();
  EXPECT_FALSE(availability.IsOffered(7));
  const std::string saved = FileText(Path);

  // A game the reader would refuse is not written, as with a file that
  // cannot be created: the save names the file, and the older game is set
  // aside so that it never passes for this one.
  StepHeadlessGame(t.Table.Flow, *t.Table.Computer);
  const uint32_t limit = t.Table.State().KnockLimit;
  TableScenario::State(t.Table).KnockLimit = STANDARD_KNOCK_LIMIT + 1;
  SaveReport report = SaveGameState(t.Parts, store, prefs, Path, false);
  EXPECT_EQ(report.Unsaved, std::vector<std::string>{Path});
  EXPECT_EQ(UnsavedFilesMessage(report), "Quorla could not save " + Path +
                                             ". Check that the folder can be written to and that the disk has room.");
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 0u);
  EXPECT_FALSE(std::filesystem::exists(Path));
  EXPECT_EQ(FileText(Path + ".stale"), saved);
  EXPECT_TRUE(t.Table.View.Messages.empty());
  TableScenario::State(t.Table).KnockLimit = limit;
  EXPECT_FALSE(SaveGameState(t.Parts, store, prefs, Install.PlayerPath(std::string("NO-SUCH-DIR/") + RESUME_FILE),
                             false).Complete());
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 0u);
  EXPECT_TRUE(t.Table.View.Messages.empty());
  // A link in its place is never written through: the link is set aside.
  const std::string elsewhere = Install.PlayerPath("ELSEWHERE");
  WriteText(elsewhere, saved);
  std::filesystem::create_symlink(elsewhere, Path);
  EXPECT_FALSE(SaveGameState(t.Parts, store, prefs, Path, false).Complete());
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 0u);
  EXPECT_TRUE(std::filesystem::is_symlink(Path + ".stale"));
  EXPECT_EQ(FileText(elsewhere), saved);
  EXPECT_FALSE(std::filesystem::exists(Path));
  EXPECT_TRUE(SaveGameState(t.Parts, store, prefs, Path, false).Complete());

  // A finished game is not written.
  std::filesystem::remove(Path);
  t.Sheet.Record().GameOver = true;
  SaveGameState(t.Parts, store, prefs, Path, false);
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 0u);
  EXPECT_FALSE(std::filesystem::exists(Path));

  // A table that must not be saved leaves CanResume alone.
  WriteSetting(store, keys::CanResume, 1);
  TableScenario::State(t.Table).DoNotSave = true;
  SaveGameState(t.Parts, store, prefs, Path, false);
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 1u);
  EXPECT_EQ(ReadSetting(store, keys::GameTarget), 100u);
}
