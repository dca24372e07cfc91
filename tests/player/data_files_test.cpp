#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "game/text_ids.h"
#include "neural/file.h"
#include "neural/net.h"
#include "player/network_data.h"
#include "player/network_data_check.h"
#include "player/position_network.h"
#include "table_fixture.h"
#include "test_files.h"

namespace {

std::vector<unsigned char> Block(const std::vector<unsigned char>& file, uint32_t level) {
  return std::vector<unsigned char>(file.begin() + level * LEVEL_BLOCK_BYTES, file.begin() + (level + 1) * LEVEL_BLOCK_BYTES);
}

// Makes the player file's learning differ from the defaults in every level.
void WriteLearnedPlayerFile(const ScratchInstallation& install) {
  network_data::WriteFreshDataFile(install.PlayerPath("QLPLAY.QLF"), 99);
}

std::set<std::string> Names(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename().string());
  return names;
}

}  // namespace

TEST(DataFiles, SavingALevelRewritesOnlyItsBlock) {
  ScratchInstallation install;
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
  ScratchInstallation install;
  WriteLearnedPlayerFile(install);
  std::vector<unsigned char> player = ReadAll(install.PlayerPath("QLPLAY.QLF"));
  std::vector<unsigned char> damaged = player;
  damaged[48072 + 4] = 7;  // block 3: the first node's type
  WriteAll(install.PlayerPath("QLPLAY.QLF"), damaged);
  {
    HeadlessTable table(3);
    EXPECT_TRUE(table.View.Messages.empty());
    EXPECT_TRUE(table.Computer->AreNetsValid());
    EXPECT_FALSE(table.State().ClosingRequested);
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
  ScratchInstallation install;
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
  ScratchInstallation install;
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

// One bad weight in the current level's block: that level starts from the
// defaults, the file gets the default block in its place, the other levels
// keep their learning, and the file as it was is kept beside it.
TEST(DataFiles, ADamagedBlockTakesTheDefaultsAndKeepsTheOtherLevels) {
  for (uint32_t level : {0u, 2u}) {
    ScratchInstallation install;
    WriteLearnedPlayerFile(install);
    const std::string path = install.PlayerPath("QLPLAY.QLF");
    const std::vector<unsigned char> player = ReadAll(path);
    std::vector<unsigned char> damaged = player;
    // The first weight of the low network's first node: a NaN.
    std::fill_n(damaged.begin() + level * LEVEL_BLOCK_BYTES + 20, 8, 0xff);
    WriteAll(path, damaged);
    HeadlessTable table(level);
    ASSERT_EQ(table.View.Messages.size(), 1u) << level;
    EXPECT_EQ(table.View.Messages[0].Caption, DATA_FILE_CAPTION);
    EXPECT_EQ(table.View.Messages[0].Text, path + " data file is incorrect format. Using default data instead.");
    EXPECT_EQ(table.View.Messages[0].Icon, ICON_EXCLAMATION);
    EXPECT_TRUE(table.Computer->AreNetsValid());
    EXPECT_FALSE(table.State().ClosingRequested);
    const std::vector<unsigned char> after = ReadAll(path);
    ASSERT_EQ(after.size(), player.size());
    for (uint32_t other = 0; other < NUM_LEVELS; ++other)
      EXPECT_EQ(Block(after, other), Block(other == level ? ReadAll(install.Path("QLDEFLT.QLF")) : player, other))
          << level << " " << other;
    EXPECT_EQ(ReadAll(path + ".damaged"), damaged);
    // The mended file loads without a word.
    EXPECT_TRUE(table.Computer->LoadNets(level, false));
    EXPECT_EQ(table.View.Messages.size(), 1u);
  }
}

// Data files cut, extended or with one byte changed, at every level, for
// the player's file and the defaults: each is either used as it is without
// a word, or refused with the data file's message; a refused player's file
// is kept aside byte for byte, only the refused level is mended and the
// rewrite ends with the four blocks; refused defaults close the game. What
// the game does follows the check that quorla-lab inspect reports, and
// nothing longer than four blocks passes it, not even a file of sound
// blocks twice over.
TEST(DataFiles, EveryCutExtendedOrChangedFileIsUsedAsItIsOrRefusedAndKeptAside) {
  std::mt19937 random(20240611);
  constexpr size_t FOUR_BLOCKS = NUM_LEVELS * static_cast<size_t>(LEVEL_BLOCK_BYTES);
  for (int round = 0; round < 80; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ScratchInstallation install;
    WriteLearnedPlayerFile(install);
    const bool defaultsChanged = round % 4 == 3;
    const std::string player = install.PlayerPath("QLPLAY.QLF");
    const std::string defaults = install.Path("QLDEFLT.QLF");
    const std::string path = defaultsChanged ? defaults : player;
    if (defaultsChanged) std::remove(player.c_str());
    std::vector<unsigned char> bytes = ReadAll(path);
    const auto level = static_cast<uint32_t>(random() % NUM_LEVELS);
    bool outsideTheBlock = false;  // only bytes the level's block does not hold changed
    // The defaults are only ever extended or changed: a cut short default
    // file cannot be copied for a missing player's file.
    const unsigned change = random() % 4;
    switch (defaultsChanged && change == 1 ? 0 : change) {
      case 0:  // extended: twice over, or by a few bytes up to two blocks
        if (random() % 3 == 0) {
          const std::vector<unsigned char> once = bytes;
          bytes.insert(bytes.end(), once.begin(), once.end());
        } else {
          for (size_t more = 1 + random() % (2 * LEVEL_BLOCK_BYTES); more > 0; --more)
            bytes.push_back(static_cast<unsigned char>(random()));
        }
        break;
      case 1:  // cut short, often at or around a block's end
        bytes.resize(random() % 2 ? random() % FOUR_BLOCKS
                                  : (1 + random() % (NUM_LEVELS - 1)) * LEVEL_BLOCK_BYTES + random() % 3 - 1u);
        break;
      case 2: {  // one byte changed
        const size_t at = random() % FOUR_BLOCKS;
        bytes[at] ^= static_cast<unsigned char>(1 + random() % 255);
        outsideTheBlock = at / LEVEL_BLOCK_BYTES != level;
        break;
      }
      default: outsideTheBlock = true;  // as written
    }
    WriteAll(path, bytes);
    const bool sound = network_data::CheckLevelBlock(path, level).empty();
    if (bytes.size() > FOUR_BLOCKS) {
      EXPECT_FALSE(sound);
    }
    if (outsideTheBlock) {
      EXPECT_TRUE(sound);
    }
    // Unreached (or empty) files are named as inaccessible, as ever.
    const size_t blockStart = level * static_cast<size_t>(LEVEL_BLOCK_BYTES);
    const bool reached = bytes.size() >= blockStart;
    const std::string refused = reached ? path + " data file is incorrect format." : "Unable to access data file " + path + ".";
    const std::vector<unsigned char> defaultBlock = Block(ReadAll(defaults), level);

    HeadlessTable table(level);
    const auto& messages = table.View.Messages;
    if (defaultsChanged) {
      ASSERT_FALSE(messages.empty());
      EXPECT_EQ(messages[0].Text, "Unable to access data file " + player + ". Using default data instead.");
      if (sound) {
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_TRUE(table.Computer->AreNetsValid());
        EXPECT_EQ(ReadAll(player), std::vector<unsigned char>(bytes.begin(), bytes.begin() + FOUR_BLOCKS));
      } else {
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].Text, refused + " Quorla will close.");
        EXPECT_TRUE(table.State().ClosingRequested);
        EXPECT_FALSE(std::filesystem::exists(player));
      }
      EXPECT_EQ(ReadAll(defaults), bytes);
      continue;
    }
    EXPECT_TRUE(table.Computer->AreNetsValid());
    EXPECT_FALSE(table.State().ClosingRequested);
    // A player's file that predates the fourth level is tolerated silently.
    const bool predatesTopLevel = level == 3 && bytes.size() <= FOUR_BLOCKS;
    if (sound || predatesTopLevel) {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(ReadAll(player), bytes);
      EXPECT_FALSE(std::filesystem::exists(player + ".damaged"));
      continue;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, refused + " Using default data instead.");
    EXPECT_EQ(ReadAll(player + ".damaged"), bytes);
    std::vector<unsigned char> mended(bytes.begin(), bytes.begin() + std::min(bytes.size(), FOUR_BLOCKS));
    mended.resize(std::max(mended.size(), blockStart + LEVEL_BLOCK_BYTES));
    std::copy(defaultBlock.begin(), defaultBlock.end(), mended.begin() + static_cast<long>(blockStart));
    EXPECT_EQ(ReadAll(player), mended);
  }
}

// Networks whose records are larger than a block (as a change of the
// networks' layout would make them) would read into the next level's
// block: the check refuses them even where every record is valid.
TEST(DataFiles, RecordsRunningPastTheirBlockAreRefused) {
  NxNeuralBase::ConfigData larger = PositionNetworkTopology();
  larger.AddLayer(6, {20, 1}, SIGMOID);
  larger.AddMapping(0, 6, {14, 4}, {0, 0}, {0, 0}, 0);
  larger.AddMapping(6, 1, {20, 1}, {0, 0}, {0, 0}, 0);
  NxNeuralBase* low = CreateTempDiffNet(larger, LOW_NET_PERSISTENCE);
  NxNeuralBase* high = CreateTempDiffNet(larger, HIGH_NET_PERSISTENCE);
  const std::string path = TempPath("LARGER.QLF");
  {
    NxFile file(path, "wb", true);
    ASSERT_TRUE(low->WriteWeights(file, VERSION_0) && high->WriteWeights(file, VERSION_0));
    file.FClose();
  }
  std::filesystem::resize_file(path, NUM_LEVELS * LEVEL_BLOCK_BYTES);
  NxFile file(path, "rb", true);
  const network_data::BlockCheck check = network_data::ReadLevelBlock(file, 0, *low, *high);
  file.FClose();
  EXPECT_TRUE(check.LowRead && check.HighRead);
  EXPECT_TRUE(check.Overruns);
  EXPECT_FALSE(check.Sound());
  DeleteNet(low);
  DeleteNet(high);
  std::filesystem::remove(path);
}

// Found on a level change instead, the damaged block is replaced by the
// next save of that level, after the file was kept aside.
TEST(DataFiles, ADamagedBlockFoundLaterIsKeptAsideBeforeItsLevelIsSaved) {
  ScratchInstallation install;
  WriteLearnedPlayerFile(install);
  const std::string path = install.PlayerPath("QLPLAY.QLF");
  std::vector<unsigned char> damaged = ReadAll(path);
  damaged[LEVEL_BLOCK_BYTES + 4] = 9;  // level 1: the first node's type
  WriteAll(path, damaged);
  HeadlessTable table(0);
  table.Computer->ChangeLevel(1, false);
  ASSERT_EQ(table.View.Messages.size(), 1u);
  EXPECT_TRUE(table.Computer->AreNetsValid());
  EXPECT_EQ(ReadAll(path), damaged);
  table.Computer->SaveNets(1);
  EXPECT_EQ(table.View.Messages.size(), 1u);
  EXPECT_EQ(ReadAll(path + ".damaged"), damaged);
  const std::vector<unsigned char> after = ReadAll(path);
  for (uint32_t level : {0u, 2u, 3u}) EXPECT_EQ(Block(after, level), Block(damaged, level));
  EXPECT_TRUE(table.Computer->LoadNets(1, false));
}

// A player file that cannot be read (no regular file, or far larger than
// any data file) never keeps start-up waiting, is never replaced, and is
// never written over: not at start-up, not at a save, not even when it
// becomes readable during the run.
TEST(DataFiles, AnUnreadablePlayerFileIsNeverReplacedNorWaitedOn) {
  BlockingGuard guard(60);
  std::vector<std::string> kinds;
  for (BadFile kind : NOT_REGULAR_FILES) kinds.push_back(Describe(kind));
  kinds.push_back("oversized");
  for (size_t k = 0; k < kinds.size(); ++k) {
    ScratchInstallation install;
    const std::string path = install.PlayerPath("QLPLAY.QLF");
    auto place = [&] {
      if (k < std::size(NOT_REGULAR_FILES))
        PlantBadFile(NOT_REGULAR_FILES[k], path);
      else
        WriteAll(path, std::vector<unsigned char>(2u << 20, 1));
    };
    place();
    const std::set<std::string> names = Names(install.PlayerPath(""));
    const std::string unsaved = "Unable to save data to file " + path + ". Disk may be full or directory may not exist";
    {
      HeadlessTable table(1);
      ASSERT_EQ(table.View.Messages.size(), 1u) << kinds[k];
      EXPECT_EQ(table.View.Messages[0].Text, "Unable to access data file " + path + ". Using default data instead.");
      EXPECT_TRUE(table.Computer->AreNetsValid()) << kinds[k];
      EXPECT_FALSE(table.State().ClosingRequested) << kinds[k];
      table.Computer->SaveNets(1);
      ASSERT_EQ(table.View.Messages.size(), 2u) << kinds[k];
      EXPECT_EQ(table.View.Messages[1].Text, unsaved);
    }
    EXPECT_EQ(Names(install.PlayerPath("")), names) << kinds[k];
    if (k == 0) {
      // Readable again during the run: still not written over.
      HeadlessTable table(1);
      std::filesystem::remove_all(path);
      WriteLearnedPlayerFile(install);
      const std::vector<unsigned char> learned = ReadAll(path);
      table.Computer->SaveNets(1);
      EXPECT_EQ(table.View.Messages.back().Text, unsaved);
      EXPECT_EQ(ReadAll(path), learned);
    }
    // Put in place of a good file during the run: the save is refused.
    std::filesystem::remove_all(path);
    WriteLearnedPlayerFile(install);
    HeadlessTable table(1);
    place();
    table.Computer->SaveNets(1);
    ASSERT_EQ(table.View.Messages.size(), 1u) << kinds[k];
    EXPECT_EQ(table.View.Messages[0].Text, unsaved);
  }
}

TEST(DataFiles, MissingDefaultsCloseTheGameWithoutSaving) {
  ScratchInstallation install;
  std::remove(install.PlayerPath("QLPLAY.QLF").c_str());
  std::remove(install.Path("QLDEFLT.QLF").c_str());
  HeadlessTable table(0);
  ASSERT_EQ(table.View.Messages.size(), 2u);
  EXPECT_EQ(table.View.Messages[0].Text,
            "Unable to access data file " + install.PlayerPath("QLPLAY.QLF") + ". Using default data instead.");
  EXPECT_EQ(table.View.Messages[1].Text,
            "Unable to access data file " + install.Path("QLDEFLT.QLF") + ". Quorla will close.");
  EXPECT_TRUE(table.State().ClosingRequested);
  EXPECT_TRUE(table.State().DoNotSave);
  EXPECT_FALSE(table.Computer->AreNetsValid());
  table.Computer->SaveNets(0);  // writes nothing
  EXPECT_FALSE(std::filesystem::exists(install.PlayerPath("QLPLAY.QLF")));
  EXPECT_EQ(table.View.Messages.size(), 2u);
}

TEST(DataFiles, SaveFailureReportsAndKeepsTheOldFile) {
  ScratchInstallation install;
  HeadlessTable table(0);
  std::remove(install.PlayerPath("QLPLAY.QLF").c_str());
  table.Computer->SaveNets(0);
  ASSERT_EQ(table.View.Messages.size(), 1u);
  EXPECT_EQ(table.View.Messages[0].Text, "Unable to save data to file " + install.PlayerPath("QLPLAY.QLF") +
                                             ". Disk may be full or directory may not exist");
  EXPECT_FALSE(std::filesystem::exists(install.PlayerPath("QLPLAY.QLF.new")));
}

TEST(DataFiles, SavesFollowNoLinkKeepThePermissionsAndLeaveNoTemporaryFile) {
  ScratchInstallation install;
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
  EXPECT_EQ(Names(install.PlayerPath("")), (std::set<std::string>{"QLPLAY.QLF", "QLPLAY.QLF.new"}));
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
