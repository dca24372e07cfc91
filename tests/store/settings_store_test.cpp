#include "store/settings_store.h"

#include <gtest/gtest.h>

#include <random>

#include "store/atomic_file.h"
#include "store/game_settings.h"
#include "store/preferences.h"
#include "store/profile_text.h"
#include "store/setting_keys.h"
#include "store/settings_check.h"
#include "store/statistics.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

std::string DamagedMessage(const std::string& path, bool readableKept) {
  return "The settings file " + path + " is damaged. It has been kept as " + path + ".damaged" +
         (readableKept ? " and a fresh file carries on with the settings that could still be read from it."
                       : " and the settings start afresh.");
}

std::vector<uint32_t> LoadedStatistics(SettingsStore& store) {
  Statistics stats;
  stats.Load(store);
  std::vector<uint32_t> all;
  for (const auto& kind : stats.Values) all.insert(all.end(), kind.begin(), kind.end());
  return all;
}

}  // namespace

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
  EXPECT_FALSE(again.Master);
  // Master stands beside level 4 only: a reader of four levels that chose
  // another level leaves a Master key that no longer counts.
  again.Master = true;
  again.Save(store);
  EXPECT_EQ(store.ReadInt("Preferences", "Master", 0), 1u);
  store.WriteInt("Preferences", "DifficultyLevel", 1);
  again.Load(store);
  EXPECT_FALSE(again.Master);
  again.DifficultyLevel = 3;
  again.Save(store);
  again.Load(store);
  EXPECT_FALSE(again.Master);
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
  // What a person editing the file adds is no damage: it is used as it is.
  const std::string edited =
      "\xEF\xBB\xBF; Zo\u00eb's settings\r\n\r\n# statistics kept by hand\r\n[ Play ]\r\n\tGameTarget = 250\r\n"
      "\r\n[Statistics]\r\nUserWins0=4294967295\r\n[Preferences]\r\nCardFaces=\"svg-nicu-white\"\r\n";
  WriteText(path, edited);
  GameSettings settings;
  EXPECT_EQ(settings.Open(path), "");
  EXPECT_EQ(FileText(path), edited);
  EXPECT_FALSE(fs::exists(path + ".damaged"));
  EXPECT_EQ(ReadTableChoices(*settings.Store).Rules.GameTarget, 250u);
  EXPECT_EQ(settings.Prefs.CardFaces, "svg-nicu-white");
  EXPECT_EQ(LoadedStatistics(*settings.Store)[1 * STATISTIC_VARIATIONS], 0xFFFFFFFFu);
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

TEST(SettingsStore, ADamagedSettingsFileIsKeptAsideWholeAndWhatCanBeReadCarriesOn) {
  const std::string statistics = "[Statistics]\nUserWins1=4\nUserPoints1=812\nUserBestScore1=218\n";
  std::string nulsThroughStatistics = "[Play]\nGameTarget=250\n" + statistics;
  nulsThroughStatistics.replace(nulsThroughStatistics.find("tistics]"), 30, 30, '\0');
  // Random bytes that can hold neither a header nor a key line.
  std::mt19937 random(17);
  std::string noise(4096, ' ');
  for (char& c : noise)
    do c = static_cast<char>(random() & 0xFF);
    while (c == '[' || c == '=');
  struct Case {
    const char* Name;
    std::string Bytes;
    std::string Fresh;  // the file that takes its place; none when empty
    std::vector<uint32_t> Wins;
  } cases[] = {
      {"NULs through [Statistics]", nulsThroughStatistics, "[Play]\nGameTarget=250\n", {0, 0, 0}},
      {"an empty file", "", "", {0, 0, 0}},
      {"random bytes", noise, "", {0, 0, 0}},
      {"random bytes before sound lines", noise + "\n" + statistics, statistics, {0, 4, 0}},
      {"NULs after a key", "[Quorla]\nCanResume=1" + std::string(16, '\0') + "\nOKResumeVersn=121\n",
       "[Quorla]\nCanResume=1\nOKResumeVersn=121\n", {0, 0, 0}},
      {"statistics no counter holds",
       "[Statistics]\nUserWins0=-5\nComputerWins0=-1\nUserPoints0=-2147483649\nUserWins2=4294967296\nUserWins1=4\n",
       "[Statistics]\nUserWins1=4\n", {0, 4, 0}},
      {"foreign lines", "GameTarget=500\n[Play]\nGinVariation=2\nno setting\nGameTarget=500\n[Quorla\nCanResume=1\n"
                        "[Statistics]\nUserWins2=3\tx\nUserWins1=4\n",
       "[Play]\nGinVariation=2\n[Statistics]\nUserWins1=4\n", {0, 4, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ScratchDirectory dir;
    const std::string path = dir.Path("QUORLA.INI");
    WriteText(path, c.Bytes);
    GameSettings settings;
    EXPECT_EQ(settings.Open(path), DamagedMessage(path, !c.Fresh.empty()));
    EXPECT_EQ(FileText(path + ".damaged"), c.Bytes);
    EXPECT_EQ(fs::exists(path), !c.Fresh.empty());
    EXPECT_EQ(FileText(path), c.Fresh);
    const std::vector<uint32_t> stats = LoadedStatistics(*settings.Store);
    EXPECT_EQ(std::vector<uint32_t>(stats.begin() + USER_WINS * STATISTIC_VARIATIONS,
                                    stats.begin() + (USER_WINS + 1) * STATISTIC_VARIATIONS),
              c.Wins);
    EXPECT_EQ(stats[COMPUTER_WINS * STATISTIC_VARIATIONS], 0u);
    EXPECT_EQ(IsResumable(*settings.Store), c.Fresh.find("OKResumeVersn=121") != std::string::npos);
    // The statistics written back are the ones read, never a wrapped value.
    Statistics back;
    back.Load(*settings.Store);
    back.Save(*settings.Store);
    EXPECT_NE(FileText(path).find("UserWins0=0\n"), std::string::npos);
    EXPECT_EQ(GameSettings().Open(path), "");
  }
}

namespace {

// A settings file as the program writes it, random values in every key it
// keeps (statistics included) and the card faces.
std::string WrittenSettings(std::mt19937& random, const std::string& path) {
  fs::remove(path);
  SettingsStore store("Quorla", path, true);
  {
    SettingsStore::Batch batch(store);
    for (const SettingKey& key : AllSettingKeys())
      if (random() % 4 != 0) WriteSetting(store, key, random() % 2 ? static_cast<uint32_t>(random()) : random() % 300);
    const char* const faces[] = {"svg-nicu-white", "Zo\u00eb \t x", "\"quoted\"", "[no section]", "a=b;#"};
    store.WriteString("Preferences", "CardFaces", faces[random() % std::size(faces)]);
  }
  return FileText(path);
}

// The same as a person might leave it after editing: comments, blank
// lines, blanks around names and values, CR LF line ends, a byte-order mark.
std::string Edited(std::mt19937& random, const std::string& written) {
  const bool crlf = random() % 2 != 0;
  std::string edited = random() % 3 == 0 ? "\xEF\xBB\xBF" : "";
  size_t start = 0;
  while (start < written.size()) {
    const size_t end = written.find('\n', start);
    std::string line = written.substr(start, end - start);
    start = end + 1;
    const char* const inserted[] = {"; a comment", "# Zo\u00eb's note", "", " \t"};
    if (random() % 5 == 0) edited += std::string(inserted[random() % std::size(inserted)]) + (crlf ? "\r\n" : "\n");
    if (const size_t equals = line.find('='); equals != std::string::npos && random() % 4 == 0)
      line = "  " + line.substr(0, equals) + " = " + line.substr(equals + 1) + "\t";
    edited += line + (crlf ? "\r\n" : "\n");
  }
  return edited;
}

enum class Damage { NULS, RANDOM_BYTES, CUT, CONTROL_BYTE, INVALID_UTF8, BAD_STATISTIC, KINDS };

// A statistic no counter holds in place of one the writer wrote, or added.
std::string WithBadStatistic(std::mt19937& random, std::string text, std::string& key) {
  const char* const bad[] = {"-5", "-1", "-2147483649", "4294967296", "12abc", "", "+3", "0x10", "99999999999"};
  key = StatisticKeyName(static_cast<StatisticKind>(random() % STATISTIC_KINDS), random() % STATISTIC_VARIATIONS);
  const std::string value = bad[random() % std::size(bad)];
  if (const size_t at = text.find("\n" + key + "="); at != std::string::npos) {
    const size_t from = at + key.size() + 2;
    return text.replace(from, text.find('\n', from) - from, value);
  }
  if (const size_t at = text.find("[Statistics]\n"); at != std::string::npos)
    return text.insert(at + 13, key + "=" + value + "\n");
  return text + "[Statistics]\n" + key + "=" + value + "\n";
}

std::string Damaged(std::mt19937& random, std::string text, Damage kind) {
  const size_t at = random() % (text.size() + 1);
  switch (kind) {
    case Damage::NULS: {
      const size_t run = 1 + random() % 40;
      text.resize(std::max(text.size(), at + run));
      return text.replace(at, run, run, '\0');
    }
    case Damage::RANDOM_BYTES: {
      std::string noise(1 + random() % 4096, ' ');
      for (char& c : noise) c = static_cast<char>(random() & 0xFF);
      return text.replace(at, noise.size(), noise);
    }
    case Damage::CUT:
      return text.substr(0, at);
    case Damage::CONTROL_BYTE: {
      char control = static_cast<char>(random() % 0x21);
      if (control == 0x20) control = 0x7F;
      // Tab and a line end are text; a CR is one only before LF.
      if (control == '\t' || control == '\n' || (control == '\r' && at < text.size() && text[at] == '\n')) control = 1;
      return text.insert(at, 1, control);
    }
    case Damage::INVALID_UTF8: {
      const char* const broken[] = {"\xFF", "\x80", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"};
      return text.insert(at, broken[random() % std::size(broken)]);
    }
    default:
      return text;
  }
}

}  // namespace

// The reader never refuses what the writer writes, and whatever damage
// does to such a file, the program either reads it as it is without a word
// or keeps it aside byte for byte, says so once and carries on with a
// sound file; never with a wrapped statistic.
TEST(SettingsStore, DamageToAWrittenFileIsEitherHarmlessOrKeptAsideWholeWithOneMessage) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI"), aside = path + ".damaged";
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    const auto kind = static_cast<Damage>(round % static_cast<int>(Damage::KINDS));
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string written = WrittenSettings(random, path);
    // What the program reads from the file as it wrote it.
    SettingsStore reference = SettingsStore::OverText("Quorla", StoreMode::FILE, written);
    std::string badKey;
    const std::string base =
        Edited(random, kind == Damage::BAD_STATISTIC ? WithBadStatistic(random, written, badKey) : written);
    if (kind != Damage::BAD_STATISTIC) {
      WriteText(path, base);
      GameSettings sound;
      ASSERT_EQ(sound.Open(path), "") << base;
      EXPECT_EQ(FileText(path), base);
      EXPECT_EQ(LoadedStatistics(*sound.Store), LoadedStatistics(reference));
    }
    const std::string damaged = Damaged(random, base, kind);
    fs::remove(aside);
    WriteText(path, damaged);
    GameSettings settings;
    const std::string message = settings.Open(path);
    if (message.empty()) {
      EXPECT_TRUE(kind == Damage::CUT || kind == Damage::RANDOM_BYTES) << static_cast<int>(kind);
      EXPECT_FALSE(fs::exists(aside));
      EXPECT_EQ(FileText(path), damaged);
      continue;
    }
    EXPECT_TRUE(message == DamagedMessage(path, true) || message == DamagedMessage(path, false)) << message;
    EXPECT_EQ(fs::exists(path), message == DamagedMessage(path, true));
    EXPECT_EQ(FileText(aside), damaged);
    if (kind == Damage::BAD_STATISTIC) {
      // Only the refused value is lost.
      reference.DeleteValue("Statistics", badKey);
      EXPECT_EQ(LoadedStatistics(*settings.Store), LoadedStatistics(reference));
      Preferences expected;
      expected.Load(reference);
      EXPECT_EQ(settings.Prefs.DifficultyLevel, expected.DifficultyLevel);
      EXPECT_EQ(settings.Prefs.CardFaces, expected.CardFaces);
      EXPECT_EQ(ReadTableChoices(*settings.Store).Rules.GameTarget, ReadTableChoices(reference).Rules.GameTarget);
    }
    EXPECT_EQ(GameSettings().Open(path), "") << FileText(path);
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
