#include <gtest/gtest.h>

// A seeded campaign of damaged files: a player's settings, the list of
// configurations, the saved game and the learned networks, each damaged in
// one of several ways, then the program's start and close on them. Every
// file must come out either used as it was (it is sound by the one check
// the program and quorla-lab inspect share) or refused with a message that
// names it and kept aside byte for byte: nothing is changed without a word.
//
// QUORLA_LONG=1 runs the long campaign (400 files instead of 60).
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "app/table_start.h"
#include "configs_fixture.h"
#include "player/data_paths.h"
#include "player/network_data_check.h"
#include "player/scripted_player.h"
#include "store/damaged_file.h"
#include "store/player_configs.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "store/settings_check.h"
#include "store/statistics.h"
#include "table_fixture.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

enum FileKind { SETTINGS, REGISTRY, RESUME, NETWORKS, KINDS };
const char* const FILE_NAMES[KINDS] = {"QUORLA.INI", "QUORLA.REG", "RESUME.QLF", "QLPLAY.QLF"};

bool LongCampaign() {
  const char* value = std::getenv("QUORLA_LONG");
  return value && *value && std::string(value) != "0";
}

// One table with its score sheet, as the window holds them.
struct Seat {
  Seat(uint32_t level, int32_t seed) : Table(level, SIMPLE_GIN, false, seed) {}
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, SIMPLE_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

// Every message of one start and close: the configurations', the settings'
// and the table's.
std::vector<std::string> StartAndClose(const std::string& installation, int32_t seed) {
  std::vector<std::string> shown;
  RecordedMessages boxes;
  PlayerConfigs configs(installation, boxes);
  configs.MakeCurrent();
  GameSettings settings;
  const std::string damage = settings.Open(configs.SettingsPath());
  if (!damage.empty()) shown.push_back(damage);
  {
    Seat seat(settings.Prefs.DifficultyLevel, seed);
    seat.Table.View.ConfirmAnswers.push_back(true);  // resume the kept game
    StartTable(settings, seat.Parts, seat.Table.Flow, configs.ResumePath());
    for (int step = 0; step < 30; ++step) StepHeadlessGame(seat.Table.Flow, *seat.Table.Computer);
    CloseTable(settings, seat.Parts, configs.ResumePath());
    for (const auto& message : seat.Table.View.Messages) shown.push_back(message.Text);
  }
  for (const auto& message : boxes.Messages) shown.push_back(message.Text);
  return shown;
}

// The files of a configuration that has played: settings with statistics,
// a list of configurations, a game saved mid-hand and learned networks.
std::map<FileKind, Bytes> SoundFiles() {
  ScratchInstallation install("campaign");
  {
    RecordedMessages boxes;
    PlayerConfigs configs(install.Path(""), boxes);
    configs.FreeSpace = [](const std::string&) { return uint64_t{1} << 40; };
    configs.AddConfiguration("bob");
  }
  StartAndClose(install.Path(""), 77);
  SettingsStore store("Quorla", install.Path("QUORLA.INI"), true);
  store.WriteInt("Statistics", StatisticKeyName(USER_WINS, SIMPLE_GIN), 12);
  store.WriteInt("Statistics", StatisticKeyName(COMPUTER_POINTS, STANDARD_GIN), 3051);
  std::map<FileKind, Bytes> files;
  for (int kind = 0; kind < KINDS; ++kind)
    files[static_cast<FileKind>(kind)] = ReadAll(install.Path(FILE_NAMES[kind]));
  return files;
}

// Damage of one of the kinds a disk, a crash or a person leaves.
Bytes Damage(Bytes bytes, FileKind kind, std::mt19937& random) {
  auto below = [&random](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
  switch (random() % 7) {
    case 0:  // a run of NUL bytes
    case 1: {  // a run of random bytes
      const bool zeros = bytes.empty() || random() % 2 == 0;
      const size_t at = below(bytes.size()), length = 1 + below(64);
      for (size_t i = at; i < std::min(bytes.size(), at + length); ++i)
        bytes[i] = zeros ? 0 : static_cast<unsigned char>(random());
      break;
    }
    case 2: bytes.resize(below(bytes.size())); break;  // cut short
    case 3: {  // grown: a second copy of itself, or random bytes
      const Bytes tail = random() % 2 == 0 ? bytes : Bytes(1 + below(4096), static_cast<unsigned char>(random()));
      bytes.insert(bytes.end(), tail.begin(), tail.end());
      break;
    }
    case 4:  // a few bits turned
      for (int flips = 1 + static_cast<int>(random() % 3); flips > 0 && !bytes.empty(); --flips)
        bytes[below(bytes.size())] ^= static_cast<unsigned char>(1u << (random() % 8));
      break;
    case 5: bytes.clear(); break;
    default:
      if (kind == SETTINGS) {
        // A statistic no counter holds, written by hand.
        static const char* const values[] = {"-5", "-1", "-2147483649", "4294967296", "99999999999"};
        const std::string line = "\n[Statistics]\nUserWins1=" + std::string(values[random() % 5]) + "\n";
        bytes.insert(bytes.end(), line.begin(), line.end());
      } else if (!bytes.empty()) {
        bytes[below(bytes.size())] = static_cast<unsigned char>(random());
      }
  }
  return bytes;
}

// Whether the program may use the bytes as they are, by the checks it uses.
bool IsSound(FileKind kind, const Bytes& bytes, const std::string& path, uint32_t level) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  switch (kind) {
    case SETTINGS: return CheckSettingsText(text, false, IsUsableStatisticValue).Sound;
    case REGISTRY: return CheckSettingsText(text, true).Sound;
    case RESUME: return CheckResumeBytes(bytes).empty();
    default: {
      // The networks of the level played are the part of the file read.
      const std::string copy = path + ".judged";
      WriteText(copy, std::string(text));
      const bool sound = network_data::CheckLevelBlock(copy, level).empty();
      fs::remove(copy);
      return sound;
    }
  }
}

}  // namespace

TEST(DamagedFileCampaign, EveryDamagedFileIsUsedAsItIsOrRefusedWithAWordAndKeptAside) {
  const std::map<FileKind, Bytes> sound = SoundFiles();
  const int files = LongCampaign() ? 400 : 60;
  std::mt19937 random(20261209);
  int used[KINDS] = {}, refused[KINDS] = {};
  for (int trial = 0; trial < files; ++trial) {
    const FileKind kind = static_cast<FileKind>(trial % KINDS);
    ScratchInstallation install("campaign");
    for (const auto& [each, bytes] : sound)
      WriteText(install.Path(FILE_NAMES[each]), std::string(bytes.begin(), bytes.end()));
    const std::string path = install.Path(FILE_NAMES[kind]);
    const Bytes damaged = Damage(sound.at(kind), kind, random);
    WriteText(path, std::string(damaged.begin(), damaged.end()));
    const bool usable = IsSound(kind, damaged, path, 1);

    const std::vector<std::string> shown = StartAndClose(install.Path(""), trial + 1);
    bool told = false;
    for (const std::string& text : shown) told = told || text.find(path) != std::string::npos;
    SCOPED_TRACE("trial " + std::to_string(trial) + ", " + FILE_NAMES[kind] + (usable ? ", sound" : ", damaged"));
    if (usable) {
      EXPECT_FALSE(told) << "a sound file was refused: " << (shown.empty() ? "" : shown.back());
      EXPECT_FALSE(fs::exists(path + DamagedFile::DAMAGED_SUFFIX));
      ++used[kind];
    } else {
      ASSERT_TRUE(told) << "a damaged file was used without a word";
      EXPECT_EQ(ReadAll(path + DamagedFile::DAMAGED_SUFFIX), damaged) << "not kept aside as it was";
      ++refused[kind];
    }
  }
  std::string summary;
  for (int kind = 0; kind < KINDS; ++kind)
    summary += std::string(kind ? ", " : "") + FILE_NAMES[kind] + " " + std::to_string(used[kind]) + " used/" +
               std::to_string(refused[kind]) + " refused";
  RecordProperty("campaign", summary);
  std::printf("damaged files: %d, %s, 0 silent\n", files, summary.c_str());
}
