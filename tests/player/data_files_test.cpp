#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "neural/net.h"
#include "player/network_data.h"
#include "table_fixture.h"
#include "test_files.h"

namespace {

std::vector<unsigned char> Block(const std::vector<unsigned char>& file, uint32_t level) {
  return std::vector<unsigned char>(file.begin() + level * LEVEL_BLOCK_BYTES, file.begin() + (level + 1) * LEVEL_BLOCK_BYTES);
}

// Makes the player file's learning differ from the defaults in every level.
void WriteLearnedPlayerFile(const TempInstallation& install) {
  network_data::WriteFreshDataFile(install.PlayerPath("QLPLAY.QLF"), 99);
}

}  // namespace

TEST(DataFiles, SavingALevelRewritesOnlyItsBlock) {
  TempInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> before = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  HeadlessTable table(2);
  table.Computer->GetNet(LOW_NET)->CustomizeInitialWeights(5, 0.5);
  table.Computer->SaveNets(2);
  std::vector<unsigned char> after = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  ASSERT_EQ(after.size(), before.size());
  for (uint32_t level : {0u, 1u, 3u}) EXPECT_EQ(Block(after, level), Block(before, level)) << level;
  EXPECT_NE(Block(after, 2), Block(before, 2));
  // Block 2 starts at 32048: its first record is the low network's.
  EXPECT_EQ(std::vector<unsigned char>(after.begin() + 32048, after.begin() + 32052), std::vector<unsigned char>({1, 0, 0, 0}));
}

TEST(DataFiles, RejectedTopLevelFallsBackSilentlyAndKeepsThePlayerFile) {
  TempInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> player = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  std::vector<unsigned char> damaged = player;
  damaged[48072 + 4] = 7;  // block 3: the first node's type
  WriteAll(install.PlayerPath("QLPLAY.QLF"), damaged);
  {
    HeadlessTable table(3);
    EXPECT_TRUE(table.View.Messages.empty());
    EXPECT_TRUE(table.Computer->AreNetsValid());
    EXPECT_FALSE(table.State.ClosingRequested);
    // Levels 0 to 2 still load from the player file.
    EXPECT_TRUE(table.Computer->LoadNets(1, false));
    EXPECT_TRUE(table.View.Messages.empty());
    table.Computer->ChangeLevel(3, true);  // back to level 3, with the default weights
  }
  // No copy of the defaults replaced the player file; closing saved level 3.
  std::vector<unsigned char> after = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  for (uint32_t level : {0u, 1u, 2u}) EXPECT_EQ(Block(after, level), Block(player, level));
  EXPECT_EQ(Block(after, 3), Block(ReadAll(install.Path("QLDEFLT.QLF")), 3));
}

TEST(DataFiles, ShortPlayerFileIsExtendedBySavingTheTopLevel) {
  TempInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> player = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  WriteAll(install.PlayerPath("QLPLAY.QLF"), std::vector<unsigned char>(player.begin(), player.begin() + 3 * LEVEL_BLOCK_BYTES));
  {
    HeadlessTable table(3);
    EXPECT_TRUE(table.View.Messages.empty());
  }
  EXPECT_GE(ReadAll(install.PlayerPath("QLPLAY.QLF")).size(), size_t(3 * LEVEL_BLOCK_BYTES + 2 * NET_RECORD_BYTES));
}

TEST(DataFiles, ResetThenSaveWritesTheDefaultsOfThatLevelOnly) {
  TempInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> player = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  std::vector<unsigned char> defaults = ReadAll(install.Path("QLDEFLT.QLF"));
  {
    HeadlessTable table(1);
    table.Computer->ChangeLevel(1, true);
  }
  std::vector<unsigned char> after = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  EXPECT_EQ(Block(after, 1), Block(defaults, 1));
  for (uint32_t level : {0u, 2u, 3u}) EXPECT_EQ(Block(after, level), Block(player, level));
}

TEST(DataFiles, DamagedPlayerFileIsReplacedByTheDefaults) {
  TempInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> damaged = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  damaged[4] = 9;
  WriteAll(install.PlayerPath("QLPLAY.QLF"), damaged);
  HeadlessTable table(0);
  ASSERT_EQ(table.View.Messages.size(), 1u);
  EXPECT_EQ(table.View.Messages[0].Caption, 9032u);
  EXPECT_EQ(table.View.Messages[0].Text,
            install.PlayerPath("QLPLAY.QLF") + " data file is incorrect format. Using default data instead.");
  EXPECT_EQ(table.View.Messages[0].Icon, ICON_EXCLAMATION);
  EXPECT_EQ(ReadAll(install.PlayerPath("QLPLAY.QLF")), ReadAll(install.Path("QLDEFLT.QLF")));
  EXPECT_TRUE(table.Computer->AreNetsValid());
}

TEST(DataFiles, MissingDefaultsCloseTheGameWithoutSaving) {
  TempInstallation install;
  std::remove(install.PlayerPath("QLPLAY.QLF").c_str());
  std::remove(install.Path("QLDEFLT.QLF").c_str());
  HeadlessTable table(0);
  ASSERT_EQ(table.View.Messages.size(), 2u);
  EXPECT_EQ(table.View.Messages[0].Text,
            "Unable to access data file " + install.PlayerPath("QLPLAY.QLF") + ". Using default data instead.");
  EXPECT_EQ(table.View.Messages[1].Text,
            "Unable to access data file " + install.Path("QLDEFLT.QLF") + ". Quorla will close.");
  EXPECT_TRUE(table.State.ClosingRequested);
  EXPECT_TRUE(table.State.DoNotSave);
  EXPECT_FALSE(table.Computer->AreNetsValid());
  table.Computer->SaveNets(0);  // writes nothing
  EXPECT_FALSE(std::filesystem::exists(install.PlayerPath("QLPLAY.QLF")));
  EXPECT_EQ(table.View.Messages.size(), 2u);
}

TEST(DataFiles, SaveFailureReportsAndKeepsTheOldFile) {
  TempInstallation install;
  HeadlessTable table(0);
  std::remove(install.PlayerPath("QLPLAY.QLF").c_str());
  table.Computer->SaveNets(0);
  ASSERT_EQ(table.View.Messages.size(), 1u);
  EXPECT_EQ(table.View.Messages[0].Text, "Unable to save data to file " + install.PlayerPath("QLPLAY.QLF") +
                                             ". Disk may be full or directory may not exist");
  EXPECT_FALSE(std::filesystem::exists(install.PlayerPath("QLPLAY.QLF.new")));
}

TEST(DataFiles, SavesFollowNoLinkKeepThePermissionsAndLeaveNoTemporaryFile) {
  TempInstallation install;
  const std::string player = install.PlayerPath("QLPLAY.QLF");
  const std::string victim = install.Path("VICTIM");
  { std::ofstream(victim) << "keep"; }
  std::filesystem::create_symlink(victim, player + ".new");
  ASSERT_EQ(chmod(player.c_str(), 0640), 0);
  HeadlessTable table(1);
  table.Computer->SaveNets(1);
  ASSERT_TRUE(table.Computer->CopyDefaultData());
  table.Computer->SaveNets(1);
  EXPECT_TRUE(table.View.Messages.empty());
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(install.PlayerPath("")))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"QLPLAY.QLF", "QLPLAY.QLF.new"}));
  EXPECT_EQ(std::filesystem::file_size(player), 4u * LEVEL_BLOCK_BYTES);
  struct stat info;
  ASSERT_EQ(stat(player.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // A player file that is a link is not replaced.
  std::filesystem::remove(player + ".new");
  std::filesystem::rename(player, player + ".real");
  std::filesystem::create_symlink(player + ".real", player);
  table.Computer->SaveNets(1);
  ASSERT_EQ(table.View.Messages.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_symlink(player));
}
