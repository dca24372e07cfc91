#include "store/player_configs.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "configs_fixture.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "store/disk_space.h"
#include "test_files.h"

namespace fs = std::filesystem;

TEST_F(ConfigsFixture, ANewConfigurationGetsItsUpperCaseDirectoryFilesAndLogLines) {
  ASSERT_TRUE(Configs.AddConfiguration(" bob "));
  EXPECT_TRUE(Boxes.Messages.empty()) << LastText();
  const std::string bob = Dir() + "BOB/";
  EXPECT_EQ(Configs.DirectoryOf("bob"), bob);
  EXPECT_EQ(FileText(bob + "QLPLAY.QLF"), FileText(Install.Path("QLDEFLT.QLF")));
  EXPECT_EQ(FileText(bob + "BACKIMG.QLF"), "picture");
  EXPECT_EQ(FileText(bob + "QUORLA.INI"), "[System]\nColorResolution32=32\n");
  EXPECT_EQ(FileText(Install.Path("INSTAL32.LOG")),
            "installed\nMade Dir: " + Dir() + "BOB\nFile Copy: " + Dir() + "BOB/BACKIMG.QLF\nFile Copy: " + Dir() +
                "BOB/QLPLAY.QLF\nFile Copy: " + Dir() + "BOB/RESUME.QLF\nINI New: Created INI\nINI File: " + Dir() +
                "BOB/QUORLA.INI\nRegDB Key: Software\\Palomet Technologies\\Quorla\\Player Configurations\n"
                "RegDB Val: 0\nRegDB Name: bob\nRegDB Root: 2\n");
  PlayerConfigs again(Dir(), Boxes);
  EXPECT_EQ(again.Names(), std::vector<std::string>{"bob"});
  EXPECT_EQ(again.LowestFreeSlot(), 1u);
  EXPECT_EQ(again.DirectoryOf("Default"), Dir());
}

TEST_F(ConfigsFixture, ReservedUnsafeAndTakenNamesAreRefused) {
  EXPECT_FALSE(Configs.AddConfiguration(""));
  EXPECT_TRUE(Boxes.Messages.empty());
  for (const char* reserved : {"default", "DEFAULT", "DeFaUlT"}) {
    EXPECT_FALSE(Configs.AddConfiguration(reserved));
    EXPECT_EQ(LastText(), "Configuration Default is reserved. Choose another configuration name.");
    EXPECT_EQ(Boxes.Messages.back().Caption, CONFIG_WARNING_CAPTION);
    EXPECT_EQ(Boxes.Messages.back().Icon, ICON_ERROR);
  }
  for (const char* unsafe : {"   ", ".", "..", "a/b", "../x", "a\\b", ".hidden", "ninechars", "Zo\u00eb-Zo\u00eb-Z",
                             "tab\there", "del\x7f", "c1\u0085", "\xff\xfe", "\xc3", "\xc0\xae\xc0\xae"}) {
    EXPECT_FALSE(Configs.AddConfiguration(unsafe)) << unsafe;
    EXPECT_EQ(LastText(), ResourceString(NAME_NOT_ALLOWED)) << unsafe;
  }
  EXPECT_NE(LastText().find("may not be \".\" or \"..\", begin with a dot or a space, or contain \"/\""),
            std::string::npos);
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  EXPECT_FALSE(Configs.AddConfiguration("BOB"));  // would share bob's directory
  EXPECT_EQ(LastText(), ResourceString(NAME_ALREADY_USED));
  EXPECT_EQ(Configs.Count(), 1u);
  std::vector<std::string> entries;
  for (const auto& entry : fs::directory_iterator(Dir()))
    if (entry.is_directory()) entries.push_back(entry.path().filename().string());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"BOB", "PLAYER"}));
}

TEST_F(ConfigsFixture, NamesPeopleUseGetTheirOwnDirectories) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {"Mary Ann", "MARY ANN"}, {"J.R.", "J.R."}, {"Zo\u00eb", "ZO\u00cb"}, {"\u00e9t\u00e9-\u0416\u00e0!", "\u00c9T\u00c9-\u0416\u00c0!"}};
  for (const auto& [name, directory] : names) {
    ASSERT_TRUE(Configs.AddConfiguration(name)) << name << ": " << LastText();
    EXPECT_EQ(Configs.DirectoryOf(name), Dir() + directory + "/");
    EXPECT_TRUE(fs::is_regular_file(Dir() + directory + "/QLPLAY.QLF")) << name;
  }
  // Names that differ only in case would share a directory.
  for (const char* twin : {"MARY ANN", "j.r.", "ZO\u00cb", "zo\u00eb"}) {
    EXPECT_FALSE(Configs.AddConfiguration(twin)) << twin;
    EXPECT_EQ(LastText(), ResourceString(NAME_ALREADY_USED)) << twin;
  }
  PlayerConfigs again(Dir(), Boxes);
  EXPECT_EQ(again.Names().size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(again.Names()[i], names[i].first);
}

TEST_F(ConfigsFixture, NamesInTheStoreThatCouldNotHaveBeenAddedAreIgnored) {
  SettingsStore registry("Quorla", "", false, Dir());
  registry.WriteString(PlayerConfigs::SECTION, "0", "../etc");
  registry.WriteString(PlayerConfigs::SECTION, "1", "Default");
  registry.WriteString(PlayerConfigs::SECTION, "2", "ann");
  registry.WriteString(PlayerConfigs::SECTION, "3", "ANN");
  registry.WriteInt(PlayerConfigs::SECTION, "4", 7);
  registry.WriteString(PlayerConfigs::SECTION, "5", ".hidden");
  registry.WriteString(PlayerConfigs::SECTION, "6", "a\\..");
  PlayerConfigs configs(Dir(), Boxes);
  EXPECT_EQ(configs.Names(), std::vector<std::string>{"ann"});
  EXPECT_EQ(configs.LowestFreeSlot(), 0u);
}

TEST_F(ConfigsFixture, ADamagedListIsSetAsideWithOneMessageAndStartsAfresh) {
  BlockingGuard guard;
  const std::string registry = Dir() + SettingsStore::REGISTRY_FILE, aside = registry + ".damaged";
  const std::string garbled = "Player Configurations: bob\n";
  const std::string section = "[Software\\Palomet Technologies\\Quorla\\Player Configurations]\n";
  const std::string binary = section + "0=sz:bob\n" + '\0';
  const std::string untagged = section + "0=sz:cy\n1=bob\n";
  struct Plant {
    std::string Name;
    std::function<void()> Make;
    std::vector<std::string> Kept;  // the names still listed afterwards
  };
  std::vector<Plant> plants = {
      {"binary bytes", [&] { WriteText(registry, binary); }, {"bob"}},
      {"text without a section or key", [&] { WriteText(registry, garbled); }, {}},
      {"a value without its type tag", [&] { WriteText(registry, untagged); }, {"cy"}},
      {"an empty file", [&] { WriteText(registry, ""); }, {}},
  };
  for (BadFile kind : BAD_FILES)
    plants.push_back({Describe(kind), [&, kind] { PlantBadFile(kind, registry, SettingsStore::MAX_FILE_BYTES); }, {}});
  for (const auto& [name, plant, kept] : plants) {
    SCOPED_TRACE(name);
    for (const std::string& left : {registry, aside, registry + ".target"}) fs::remove_all(left);
    plant();
    const bool regular = fs::is_regular_file(fs::symlink_status(registry));
    const std::string planted = regular ? FileText(registry) : "";
    Boxes.Messages.clear();
    PlayerConfigs configs(Dir(), Boxes);
    configs.FreeSpace = [](const std::string&) { return 1ull << 40; };
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Caption, CONFIG_WARNING_CAPTION);
    EXPECT_EQ(LastText(), "The list of player configurations " + registry + " is damaged. It has been kept as " +
                              aside +
                              (kept.empty() ? " and the list starts afresh."
                                            : " and a fresh list carries on with the entries that could still be "
                                              "read from it.") +
                              " The configurations' directories are left as they were.");
    EXPECT_TRUE(fs::exists(fs::symlink_status(aside)));
    if (regular) {
      EXPECT_EQ(FileText(aside), planted);
    }
    EXPECT_EQ(configs.Names(), kept);
    ASSERT_TRUE(configs.AddConfiguration("ann")) << LastText();
    std::vector<std::string> listed = kept;
    listed.push_back("ann");
    EXPECT_EQ(PlayerConfigs(Dir(), Boxes).Names(), listed);
    EXPECT_EQ(Boxes.Messages.size(), 1u);
    configs.RemoveConfigurations({"ann"});
  }
  // When it cannot be set aside it is kept as it is, and nothing is saved into it.
  for (const std::string& left : {registry, aside}) fs::remove_all(left);
  fs::create_directories(aside + "/in the way");
  WriteText(registry, garbled);
  PlayerConfigs stuck(Dir(), Boxes);
  EXPECT_EQ(LastText(), "The list of player configurations " + registry +
                            " is damaged and could not be kept aside as " + aside +
                            ". It is left as it is, and changes to the list are not saved until it is repaired "
                            "or removed.");
  stuck.FreeSpace = [](const std::string&) { return 1ull << 40; };
  stuck.AddConfiguration("bob");
  EXPECT_EQ(FileText(registry), garbled);
}

TEST_F(ConfigsFixture, TheInstallLogIsNeitherFollowedNorWaitedOn) {
  BlockingGuard guard;
  const std::string log = Install.Path("INSTAL32.LOG"), victim = Install.Path("victim");
  WriteText(victim, "keep\n");
  fs::remove(log);
  fs::create_symlink(victim, log);
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  EXPECT_EQ(FileText(victim), "keep\n");
  EXPECT_TRUE(fs::is_symlink(log));
  fs::remove(log);
  ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
  ASSERT_TRUE(Configs.AddConfiguration("ann"));
  EXPECT_TRUE(fs::is_fifo(log));
}

TEST_F(ConfigsFixture, TemporaryFilesOfDeadSavesAreRemovedFromEveryConfigurationDirectory) {
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  const std::string deadPid = std::to_string(dead), ownPid = std::to_string(getpid());
  std::vector<std::string> removed, kept;
  for (const std::string& directory : {Dir(), Dir() + "BOB/"}) {
    for (const std::string& name : {"QUORLA.INI.tmp-" + deadPid + "-1-77", "RESUME.QLF.tmp-" + deadPid + "-12-0"}) {
      WriteText(directory + name, "half");
      removed.push_back(directory + name);
    }
    for (const std::string& name :
         {"QUORLA.INI.tmp-" + ownPid + "-1-77", std::string("QUORLA.INI.tmp-1-2-3"), ".tmp-" + deadPid + "-1-2",
          "QUORLA.INI.tmp-" + deadPid + "-1", "QUORLA.INI.tmp-" + deadPid + "-1-2x",
          std::string("QUORLA.INI.tmp-0-1-2"),
          "QUORLA.INI.tmp-" + deadPid + "-1-2.bak", "QUORLA.INI.tmp--" + deadPid + "-1-2"}) {
      WriteText(directory + name, "other");
      kept.push_back(directory + name);
    }
    const std::string folder = directory + "QLPLAY.QLF.tmp-" + deadPid + "-2-3";
    const std::string link = directory + "BACKIMG.QLF.tmp-" + deadPid + "-4-5";
    fs::create_directory(folder);
    fs::create_symlink(Install.Path("BACKIMG.QLF"), link);
    kept.insert(kept.end(), {folder, link});
  }
  Configs.RemoveAbandonedTemporaries();
  for (const std::string& path : removed) EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
  for (const std::string& path : kept) EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << path;
  EXPECT_EQ(FileText(Install.Path("BACKIMG.QLF")), "picture");
}

TEST_F(ConfigsFixture, TwentyFourConfigurationsFillEverySlot) {
  for (int i = 0; i < 24; ++i) ASSERT_TRUE(Configs.AddConfiguration("p" + std::to_string(i))) << LastText();
  EXPECT_FALSE(Configs.HasFreeSlot());
  EXPECT_FALSE(Configs.CheckFreeSlot());
  EXPECT_EQ(Boxes.Messages.back().Caption, NO_CONFIGS_CAPTION);
  EXPECT_EQ(LastText(),
            "You need to remove one or more existing player configurations before adding another player.");
  EXPECT_FALSE(Configs.AddConfiguration("extra"));
  EXPECT_FALSE(fs::exists(Dir() + "EXTRA"));
  Configs.RemoveConfigurations({"p5", "p3"});
  EXPECT_EQ(Configs.LowestFreeSlot(), 3u);
  EXPECT_EQ(Configs.Count(), 22u);
  EXPECT_EQ(PlayerConfigs(Dir(), Boxes).Count(), 22u);
}

TEST_F(ConfigsFixture, TooLittleFreeSpaceNamesWhatIsNeeded) {
  Free = 1000;
  EXPECT_FALSE(Configs.AddConfiguration("bob"));
  EXPECT_EQ(Boxes.Messages.back().Caption, DISK_SPACE_CAPTION);
  EXPECT_EQ(LastText(), "Try adding configuration again after freeing at least 640000 bytes on drive " +
                            VolumeOf(Dir()) + ".");
  EXPECT_EQ(Configs.Count(), 0u);
}

TEST_F(ConfigsFixture, MissingDataFilesAreReportedAndCreationGoesOn) {
  fs::remove(Install.Path("BACKIMG.QLF"));
  fs::remove(Install.Path("INSTAL32.LOG"));
  EXPECT_TRUE(Configs.AddConfiguration("bob"));
  ASSERT_EQ(Boxes.Messages.size(), 1u);
  EXPECT_EQ(LastText(), "Unable to copy BACKIMG.QLF to the new configuration. Player may need to select scenery.");
  EXPECT_FALSE(fs::exists(Install.Path("INSTAL32.LOG")));
}

TEST_F(ConfigsFixture, DataFilesComeFromTheInstallationWhenConfigurationsLiveElsewhere) {
  ScratchInstallation user;
  fs::remove(user.Path("QLDEFLT.QLF"));
  PlayerConfigs configs(user.Path(""), Boxes);
  configs.FreeSpace = [](const std::string&) { return 1ull << 40; };
  configs.ReadInstalledFilesFrom(Install.Path(""));
  ASSERT_TRUE(configs.AddConfiguration("bob"));
  EXPECT_TRUE(Boxes.Messages.empty()) << LastText();
  EXPECT_EQ(FileText(user.Path("BOB/BACKIMG.QLF")), "picture");
  EXPECT_EQ(FileText(user.Path("BOB/QLPLAY.QLF")), FileText(Install.Path("QLDEFLT.QLF")));
  EXPECT_FALSE(fs::exists(Install.Path("BOB")));
}

TEST_F(ConfigsFixture, RemovingAConfigurationAsksFirst) {
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  ASSERT_TRUE(Configs.AddConfiguration("ann"));
  Configs.Select("bob");
  Configs.MakeCurrent();
  EXPECT_EQ(data_paths::ConfigurationDirectory(), Dir() + "BOB/");

  Boxes.ConfirmAnswers = {false, false};
  EXPECT_EQ(Configs.RemoveConfigurations({"ann", "bob"}), PlayerConfigs::AfterRemoval::CARRY_ON);
  ASSERT_EQ(Boxes.ConfirmedTexts.size(), 2u);
  EXPECT_EQ(Boxes.ConfirmedTexts[0].second,
            "Removing deletes the settings, statistics, saved game and learning of the configuration ann. Do you "
            "really want to remove this configuration?");
  EXPECT_EQ(Boxes.ConfirmedTexts[1].second,
            "You are currently using the configuration bob. Do you really want to remove this configuration?");
  EXPECT_EQ(Boxes.ConfirmedTexts[1].first, CONFIG_WARNING_CAPTION);
  EXPECT_TRUE(fs::exists(Dir() + "ANN/QLPLAY.QLF"));
  EXPECT_TRUE(fs::exists(Dir() + "BOB/QLPLAY.QLF"));
  EXPECT_EQ(PlayerConfigs(Dir(), Boxes).Count(), 2u);

  EXPECT_EQ(Configs.RemoveConfigurations({"bob"}), PlayerConfigs::AfterRemoval::CHOOSE_ANOTHER);
  EXPECT_FALSE(fs::exists(Dir() + "BOB"));
  EXPECT_EQ(Configs.Names(), std::vector<std::string>{"ann"});

  Configs.Select("ann");
  Configs.MakeCurrent();
  EXPECT_EQ(Configs.RemoveConfigurations({"ann"}), PlayerConfigs::AfterRemoval::SWITCH_TO_DEFAULT);
  EXPECT_EQ(Configs.SelectedName(), "Default");
  EXPECT_TRUE(fs::exists(Install.Path("QLDEFLT.QLF")));
}

TEST_F(ConfigsFixture, ADirectoryThatCannotBeRemovedStillFreesItsSlot) {
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  fs::create_directory(Dir() + "BOB/keep");
  EXPECT_EQ(Configs.RemoveConfigurations({"bob"}), PlayerConfigs::AfterRemoval::CARRY_ON);
  EXPECT_EQ(LastText(), "Unable to remove directory " + Dir() +
                            "BOB. Directory may contain subdirectories or may not exist.");
  EXPECT_TRUE(fs::exists(Dir() + "BOB/keep"));
  EXPECT_FALSE(fs::exists(Dir() + "BOB/QLPLAY.QLF"));
  EXPECT_EQ(PlayerConfigs(Dir(), Boxes).Count(), 0u);
}

// A second copy of the program is another process: a child takes the lock
// the way a second start would, and dies the hardest way.
TEST_F(ConfigsFixture, OneRunningCopyPerConfigurationAndAKilledCopyNeverBlocks) {
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  ASSERT_TRUE(Configs.MakeCurrent());  // Default, in this process
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t other = fork();
  if (other == 0) {
    RecordedMessages quiet;
    PlayerConfigs copy(Dir(), quiet);
    copy.Select("bob");
    const char claimed = copy.MakeCurrent() ? 'y' : 'n';
    const char refusedDefault = [&] {
      copy.Select(PlayerConfigs::DEFAULT_NAME);
      return copy.MakeCurrent() ? 'y' : 'n';
    }();
    const char answer[2] = {claimed, refusedDefault};
    (void)!write(ready[1], answer, 2);
    pause();
    _exit(0);
  }
  char answer[2] = {};
  ASSERT_EQ(read(ready[0], answer, 2), 2);
  EXPECT_EQ(answer[0], 'y') << "the other copy claims bob";
  EXPECT_EQ(answer[1], 'n') << "Default is this copy's";

  // bob is the other copy's now: no switch, no removal, nothing written.
  const std::string before = FileText(Dir() + "BOB/QUORLA.INI");
  EXPECT_TRUE(Configs.InUseElsewhere("bob"));
  EXPECT_FALSE(Configs.InUseElsewhere(PlayerConfigs::DEFAULT_NAME));
  Configs.Select("bob");
  EXPECT_FALSE(Configs.MakeCurrent());
  EXPECT_EQ(Configs.NameInUse(), PlayerConfigs::DEFAULT_NAME);
  EXPECT_EQ(Configs.SelectedName(), PlayerConfigs::DEFAULT_NAME);
  EXPECT_EQ(Configs.RemoveConfigurations({"bob"}), PlayerConfigs::AfterRemoval::CARRY_ON);
  EXPECT_TRUE(Boxes.ConfirmedTexts.empty()) << "refused before asking";
  ASSERT_FALSE(Boxes.Messages.empty());
  EXPECT_EQ(Boxes.Messages.back().Caption, CONFIG_IN_USE_CAPTION);
  EXPECT_EQ(Boxes.Messages.back().Text,
            "The player configuration bob is in use by another copy of Quorla that is running now. Only one copy at a "
            "time can use a configuration, so that neither replaces the other's game, statistics or learning. It was "
            "not removed.");
  EXPECT_EQ(FileText(Dir() + "BOB/QUORLA.INI"), before);
  EXPECT_EQ(Configs.Names(), std::vector<std::string>{"bob"});

  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
  EXPECT_FALSE(Configs.InUseElsewhere("bob"));
  Configs.Select("bob");
  EXPECT_TRUE(Configs.MakeCurrent());
  // Default is free again for another copy once this one moved on.
  EXPECT_FALSE(ConfigLock::HeldElsewhere(Dir()));
  EXPECT_TRUE(ConfigLock::HeldElsewhere(Dir() + "BOB/"));
  close(ready[0]);
  close(ready[1]);
}
