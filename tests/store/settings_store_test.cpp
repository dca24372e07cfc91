#include "store/settings_store.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/game_settings.h"
#include "store/preferences.h"
#include "store/profile_text.h"
#include "store/setting_keys.h"
#include "store/statistics.h"
#include "test_files.h"

namespace fs = std::filesystem;

TEST(SettingsStore, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
  ScratchDirectory dir;
  SettingsStore store("Quorla", dir.Path("QUORLA.INI"), true);
  EXPECT_EQ(store.ReadInt("Play", "GameTarget", 100), 100u);
  EXPECT_EQ(store.ReadString("Quorla", "Name", "none"), "none");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("QUORLA.INI")));
  store.WriteInt("Play", "GameTarget", 250);
  EXPECT_EQ(FileText(dir.Path("QUORLA.INI")), "[Play]\nGameTarget=250\n");
  EXPECT_EQ(store.LastError(), 0u);
}

TEST(SettingsStore, WritesKeepEveryOtherLineAndNamesIgnoreCase) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  WriteText(path, "; hand-written\r\n[preferences]\r\nDeckId = 24460\r\nOther=x\r\n\r\n[Play]\r\nGameTarget=150\r\n");
  SettingsStore store("Quorla", path, true);
  EXPECT_EQ(store.ReadInt("Preferences", "deckid", 0), 24460u);
  store.WriteInt("PREFERENCES", "DifficultyLevel", 2);
  store.WriteInt("Play", "gametarget", 500);
  store.DeleteValue("Preferences", "OTHER");
  EXPECT_EQ(FileText(path),
            "; hand-written\n[preferences]\nDeckId = 24460\nDifficultyLevel=2\n\n[Play]\ngametarget=500\n");
  // A value may not smuggle a new line or section into the file.
  store.WriteString("Play", "Note", "a\n[Evil]\nGameTarget=1");
  EXPECT_EQ(store.ReadString("Play", "Note", ""), "a");
  EXPECT_EQ(store.ReadInt("Evil", "GameTarget", 7), 7u);
}

TEST(SettingsStore, IntegersParseAsUnsignedDecimalOrGiveTheDefault) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  WriteText(path, "[S]\na=12abc\nb=abc\nc=-1\nd=99999999999\ne=\"42\"\nf=\n");
  SettingsStore store("Quorla", path, true);
  EXPECT_EQ(store.ReadInt("S", "a", 5), 12u);
  EXPECT_EQ(store.ReadInt("S", "b", 5), 5u);
  EXPECT_EQ(store.ReadInt("S", "c", 5), 0xFFFFFFFFu);
  EXPECT_EQ(store.ReadInt("S", "d", 5), 0xFFFFFFFFu);
  EXPECT_EQ(store.ReadInt("S", "e", 5), 42u);
  EXPECT_EQ(store.ReadInt("S", "f", 5), 5u);
  // A statistic is a count or nothing: never a wrapped or clipped one.
  WriteText(path,
            "[Statistics]\nUserWins0=-5\nComputerWins0=-1\nUserPoints0=-2147483649\nComputerPoints0=4294967296\n"
            "UserBestScore0=12abc\nComputerBestScore0=4294967295\nUserWins1= 0007 \nComputerWins1=+3\n"
            "UserPoints1=00000000001\nComputerPoints1=\"81\"\n");
  Statistics stats;
  stats.Load(store);
  for (StatisticKind kind : {USER_WINS, COMPUTER_WINS, USER_POINTS, COMPUTER_POINTS, USER_BEST_SCORE})
    EXPECT_EQ(stats.At(kind, 0), 0u) << StatisticKeyName(kind, 0);
  EXPECT_EQ(stats.At(COMPUTER_BEST_SCORE, 0), 0xFFFFFFFFu);
  EXPECT_EQ(stats.At(USER_WINS, 1), 7u);
  EXPECT_EQ(stats.At(COMPUTER_WINS, 1), 0u);
  EXPECT_EQ(stats.At(USER_POINTS, 1), 0u);
  EXPECT_EQ(stats.At(COMPUTER_POINTS, 1), 81u);
}

TEST(SettingsStore, MasksAndLimitsApplyOnReading) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  WriteText(path,
            "[Preferences]\nDifficultyLevel=7\nHandSorting=3\nDealType=2\nDisableScenery=9\nDeckId=1\n"
            "CardFaces=../../etc\nShowMelds=0\n[Play]\nGinVariation=6\nGameTarget=7\nAceRequiresGin=0\n");
  SettingsStore store("Quorla", path, true);
  Preferences prefs;
  prefs.Load(store);
  // A switch absent from an older file reads as on.
  EXPECT_FALSE(prefs.ShowMelds);
  EXPECT_TRUE(prefs.Animation);
  // A face deck name that could leave the card data reads as the default.
  EXPECT_EQ(prefs.CardFaces, "");
  for (const char* name : {"svg-", "svg-A", "svg-a/b", "deck", "svg-a b"}) EXPECT_FALSE(IsFaceDeckName(name)) << name;
  EXPECT_FALSE(IsFaceDeckName("svg-" + std::string(61, 'a')));
  prefs.CardFaces = "svg-nicu-white";
  prefs.ShowMelds = true;
  prefs.Animation = false;
  prefs.Save(store);
  Preferences again;
  again.Load(store);
  EXPECT_EQ(again.CardFaces, "svg-nicu-white");
  EXPECT_TRUE(again.ShowMelds);
  EXPECT_FALSE(again.Animation);
  EXPECT_EQ(prefs.DifficultyLevel, 3u);
  EXPECT_EQ(prefs.HandSorting, 2u);
  EXPECT_EQ(prefs.DealType, 0u);
  EXPECT_TRUE(prefs.DisableScenery);
  TableChoices choices = ReadTableChoices(store);
  EXPECT_EQ(choices.Rules.Variation, 2u);
  EXPECT_EQ(choices.Rules.GameTarget, 100u);
  EXPECT_FALSE(choices.Rules.AceRequiresGin);
  EXPECT_EQ(choices.DeckId, 24456u);
}

TEST(SettingsStore, AMaskedValueOutsideItsRangeReadsAsTheDefault) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  for (uint32_t stored : {3u, 7u, 0xFFFFFFFFu}) {
    WriteText(path, "[Play]\nGinVariation=" + std::to_string(stored) + "\n");
    SettingsStore store("Quorla", path, true);
    EXPECT_EQ(ReadTableChoices(store).Rules.Variation, 0u) << stored;
  }
  // Every masked key yields a value of its range, whatever is stored.
  const uint32_t ranges[][2] = {{3, 3}, {1, 1}, {2, 2}};
  const SettingKey masked[] = {keys::DifficultyLevel, keys::DealType, keys::GinVariation};
  for (size_t k = 0; k < std::size(masked); ++k)
    for (uint32_t stored = 0; stored < 64; ++stored)
      EXPECT_LE(ApplyReadRule(masked[k], stored), ranges[k][1]) << masked[k].Key << " " << stored;
}

TEST(SettingsStore, AByteOrderMarkDoesNotHideTheFirstSection) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  WriteText(path, "\xEF\xBB\xBF[Play]\r\nGinVariation=2\r\n");
  SettingsStore store("Quorla", path, true);
  EXPECT_EQ(ReadTableChoices(store).Rules.Variation, 2u);
  EXPECT_TRUE(ProfileText("\xEF\xBB\xBF[Play]").HasSectionOrKey());
  EXPECT_FALSE(ProfileText("Name:\tquorla-lab\nNODE-TYPE : 3\n; a comment\n").HasSectionOrKey());
  EXPECT_TRUE(ProfileText("GameTarget=250").HasSectionOrKey());
}

TEST(SettingsStore, PreferencesRoundTripAndResumeNeedsTheCurrentStamp) {
  ScratchDirectory dir;
  SettingsStore store("Quorla", dir.Path("QUORLA.INI"), true);
  Preferences saved;
  saved.DifficultyLevel = 2;
  saved.ToolbarLocation = 3;
  saved.RandomDeck = true;
  saved.ResumeFormatStamp = 120;
  saved.Save(store);
  Preferences loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded.DifficultyLevel, 2u);
  EXPECT_EQ(loaded.ToolbarLocation, 3u);
  EXPECT_TRUE(loaded.RandomDeck);
  WriteSetting(store, keys::CanResume, 1);
  EXPECT_FALSE(IsResumable(store));
  WriteSetting(store, keys::OKResumeVersn, RESUME_FORMAT_STAMP);
  EXPECT_TRUE(IsResumable(store));
}

TEST(SettingsStore, RegistryModeKeepsTypesAndLivesInTheInstallation) {
  ScratchDirectory dir;
  SettingsStore registry("Quorla", "", false, dir.Directory());
  EXPECT_EQ(registry.Mode(), StoreMode::REGISTRY);
  EXPECT_EQ(registry.Path(), dir.Path(SettingsStore::REGISTRY_FILE));
  registry.WriteString("Player Configurations", "0", "17");
  registry.WriteInt("Player Configurations", "1", 5);
  EXPECT_EQ(registry.ReadInt("Player Configurations", "0", 3), 3u);
  EXPECT_EQ(registry.ReadString("Player Configurations", "1", "dflt"), "dflt");
  EXPECT_EQ(registry.ReadString("Player Configurations", "0", ""), "17");
  EXPECT_EQ(registry.ReadInt("Player Configurations", "1", 3), 5u);
  SettingsStore other("Other", "", false, dir.Directory());
  EXPECT_EQ(other.ReadString("Player Configurations", "0", "none"), "none");
}

TEST(SettingsStore, AnUnreadableFileIsNeverOverwritten) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  std::string huge(SettingsStore::MAX_FILE_BYTES + 1, ';');
  WriteText(path, huge);
  SettingsStore store("Quorla", path, true);
  EXPECT_EQ(store.ReadInt("Play", "GameTarget", 100), 100u);
  store.WriteInt("Play", "GameTarget", 250);
  EXPECT_NE(store.LastError(), 0u);
  EXPECT_EQ(std::filesystem::file_size(path), huge.size());
}

TEST(SettingsStore, ABatchWritesTheFileOnceWhenTheOutermostBatchEnds) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  WriteText(path, "[Play]\nGameTarget=150\n");
  SettingsStore store("Quorla", path, true);
  {
    SettingsStore::Batch outer(store);
    store.WriteInt("Play", "GameTarget", 250);
    {
      SettingsStore::Batch inner(store);
      store.WriteString("Quorla", "Name", "Ann");
      store.DeleteValue("Play", "GameTarget");
      store.WriteInt("Play", "GameTarget", 500);
    }
    // Reads see the pending changes; the file does not have them yet.
    EXPECT_EQ(store.ReadInt("Play", "GameTarget", 0), 500u);
    EXPECT_EQ(store.ReadString("Quorla", "Name", ""), "Ann");
    EXPECT_EQ(FileText(path), "[Play]\nGameTarget=150\n");
  }
  EXPECT_EQ(FileText(path), "[Play]\nGameTarget=500\n[Quorla]\nName=Ann\n");
  EXPECT_EQ(store.LastError(), 0u);
  // After the batch, every write is saved at once again, from the file.
  WriteText(path, "[Play]\nGameTarget=100\n");
  store.WriteInt("Play", "Variation", 2);
  EXPECT_EQ(FileText(path), "[Play]\nGameTarget=100\nVariation=2\n");
}

TEST(SettingsStore, ABatchOfReadsWritesNothingAndAnUnreadableFileStaysUntouched) {
  ScratchDirectory dir;
  const std::string missing = dir.Path("MISSING.INI");
  SettingsStore fresh("Quorla", missing, true);
  {
    SettingsStore::Batch reads(fresh);
    EXPECT_EQ(fresh.ReadInt("Play", "GameTarget", 100), 100u);
  }
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string path = dir.Path("QUORLA.INI");
  std::string huge(SettingsStore::MAX_FILE_BYTES + 1, ';');
  WriteText(path, huge);
  SettingsStore store("Quorla", path, true);
  {
    SettingsStore::Batch writes(store);
    store.WriteInt("Play", "GameTarget", 250);
    EXPECT_NE(store.LastError(), 0u);
  }
  EXPECT_EQ(std::filesystem::file_size(path), huge.size());
}

TEST(SettingsStore, ABadFileInPlaceOfTheSettingsIsSetAsideOnceAndTheSettingsStartAfresh) {
  BlockingGuard guard;
  for (BadFile kind : BAD_FILES) {
    SCOPED_TRACE(Describe(kind));
    ScratchDirectory dir;
    const std::string path = dir.Path("QUORLA.INI"), aside = path + ".damaged";
    PlantBadFile(kind, path, SettingsStore::MAX_FILE_BYTES);
    const fs::file_type planted = fs::symlink_status(path).type();
    EXPECT_FALSE(ReadFileLimited(path, SettingsStore::MAX_FILE_BYTES));
    GameSettings settings;
    EXPECT_EQ(settings.Open(path), "The settings file " + path + " is damaged. It has been kept as " + aside +
                                       " and the settings start afresh.");
    EXPECT_EQ(fs::symlink_status(aside).type(), planted);
    EXPECT_EQ(ReadSetting(*settings.Store, keys::FirstPlay), 1u);
    WriteSetting(*settings.Store, keys::FirstPlay, 0);
    EXPECT_EQ(settings.Store->LastError(), 0u);
    EXPECT_EQ(FileText(path), "[Quorla]\nFirstPlay=0\n");
    EXPECT_EQ(GameSettings().Open(path), "");
  }
}

TEST(SettingsStore, ADamagedFileThatCannotBeSetAsideIsLeftAloneAndALinkedFileIsNoDamage) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI"), aside = path + ".damaged";
  PlantBadFile(BadFile::OVERSIZED, path, SettingsStore::MAX_FILE_BYTES);
  const auto size = fs::file_size(path);
  fs::create_directories(aside + "/in the way");
  GameSettings settings;
  EXPECT_EQ(settings.Open(path), "The settings file " + path + " is damaged and could not be kept aside as " + aside +
                                     ". It is left as it is, and no settings or statistics are saved until it is "
                                     "repaired or removed.");
  WriteSetting(*settings.Store, keys::FirstPlay, 0);
  EXPECT_NE(settings.Store->LastError(), 0u);
  EXPECT_EQ(ReadSetting(*settings.Store, keys::FirstPlay), 1u);
  EXPECT_EQ(fs::file_size(path), size);

  // A link to a regular file is read through.
  const std::string linked = dir.Path("LINKED.INI");
  WriteText(dir.Path("real.ini"), "[Play]\nGameTarget=250\n");
  fs::create_symlink(dir.Path("real.ini"), linked);
  EXPECT_EQ(settings.Open(linked), "");
  EXPECT_EQ(ReadTableChoices(*settings.Store).Rules.GameTarget, 250u);
}
