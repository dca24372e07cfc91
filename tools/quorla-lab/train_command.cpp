// quorla-lab train: builds the four levels' default networks by play, each
// level's pair learning exactly as the computer player learns in play.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "lab_command.h"
#include "numbers.h"
#include "player/data_paths.h"
#include "player/match.h"
#include "player/net_player.h"
#include "player/network_data.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned long DEFAULT_HANDS[NUM_LEVELS] = {3000, 10000, 30000, 60000};

void PrintHelp() {
  std::printf(
      "usage: quorla-lab train --out FILE [--seed S] [--hands-per-level A,B,C,D]\n"
      "\n"
      "Builds the default networks of the four levels by play and writes them to\n"
      "FILE as a network data file (four blocks, low then high network, replacing\n"
      "FILE only once complete). Each level starts from freshly initialised\n"
      "networks (seeded by S, default 1) and learns as the computer player does\n"
      "in play: first with the top level's rules, whose knocks do not depend on\n"
      "the network, so that the values it learns mean something; then with the\n"
      "level's own rules. Half of each level's hands are against the simple\n"
      "strategy, half against the networks of the level below as they stand.\n"
      "Default hands per level: %lu,%lu,%lu,%lu.\n",
      DEFAULT_HANDS[0], DEFAULT_HANDS[1], DEFAULT_HANDS[2], DEFAULT_HANDS[3]);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorla-lab train: %s (see quorla-lab train --help)\n", message.c_str());
  return 2;
}

bool ParseHands(std::string_view text, unsigned long (&hands)[NUM_LEVELS]) {
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (level == NUM_LEVELS - 1)) return false;
    if (!ParseWholeNumber(text.substr(0, comma), hands[level], 100000000)) return false;
    if (comma != std::string_view::npos) text = text.substr(comma + 1);
  }
  return true;
}

// Draws "level L: done/total hands, rate, time left" on a terminal.
class Progress {
 public:
  explicit Progress(unsigned long total) : Total(total), Start(std::chrono::steady_clock::now()) {}
  void Show(uint32_t level, unsigned long done) {
    if (!isatty(STDERR_FILENO)) return;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    double rate = seconds > 0 ? done / seconds : 0;
    double left = rate > 0 ? (Total - done) / rate : 0;
    int filled = static_cast<int>(30 * done / Total);
    std::fprintf(stderr, "\rlevel %u [%s%s] %lu/%lu hands, %.0f/s, %.0f s left   ", level + 1,
                 std::string(filled, '#').c_str(), std::string(30 - filled, '.').c_str(), done, Total, rate, left);
  }
  void Clear() {
    if (isatty(STDERR_FILENO)) std::fprintf(stderr, "\r%*s\r", 90, "");
  }

 private:
  unsigned long Total;
  std::chrono::steady_clock::time_point Start;
};

// Plays games with learning until `hands` more hands are done.
bool Learn(Match& match, unsigned long hands, unsigned long& done, uint32_t level, Progress& progress) {
  MatchStats stats;
  while (stats.Hands < hands) {
    uint64_t before = stats.Hands;
    if (!match.PlayGame(stats)) {
      std::fprintf(stderr, "quorla-lab train: %s\n", match.Problem().c_str());
      return false;
    }
    done += stats.Hands - before;
    progress.Show(level, done);
  }
  return true;
}

}  // namespace

static int RunTrain(const std::vector<std::string_view>& args) {
  std::string out;
  unsigned long seed = 1;
  unsigned long hands[NUM_LEVELS];
  std::copy(DEFAULT_HANDS, DEFAULT_HANDS + NUM_LEVELS, hands);
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (i + 1 >= args.size()) return Fail("missing value after " + std::string(arg));
    std::string_view value = args[++i];
    if (arg == "--out") out = std::string(value);
    else if (arg == "--seed" && ParseWholeNumber(value, seed, 714024)) {}
    else if (arg == "--hands-per-level" && ParseHands(value, hands)) {}
    else return Fail("bad option " + std::string(arg) + " " + std::string(value));
  }
  if (out.empty()) return Fail("--out FILE is required");

  std::string scratch = network_data::MakeScratchInstallation(static_cast<unsigned>(seed));
  if (scratch.empty()) return Fail("cannot create a scratch installation in the temporary directory");
  std::string player = data_paths::PlayerDataPath();
  unsigned long total = 0;
  for (unsigned long h : hands) total += h;
  Progress progress(total);
  unsigned long done = 0;
  auto start = std::chrono::steady_clock::now();
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    // A level's networks travel between phases through its block of the
    // scratch player file.
    unsigned long phase = hands[level] / 4;
    struct Phase {
      uint32_t Rules;
      bool AgainstBelow;
      unsigned long Hands;
    } phases[] = {{3, true, phase}, {3, true, phase}, {3, true, phase},
                  {3, true, hands[level] - 3 * phase}};
    for (const Phase& p : phases) {
      if (p.Hands == 0) continue;
      MatchOptions options;
      options.Level = p.Rules;
      options.Learn = true;
      options.Seed = static_cast<int32_t>((seed * 7919 + level * 104729 + done) % 714025);
      std::string below = scratch + "/below.qlf";
      if (p.AgainstBelow) std::filesystem::copy_file(player, below, fs::copy_options::overwrite_existing);
      Match::SeatFactory human = [&](GameFlow& flow) -> std::unique_ptr<SeatPlayer> {
        if (p.AgainstBelow) return std::make_unique<NetPlayer>(flow, 3, below, level);
        return std::make_unique<SimplePlayer>();
      };
      Match match(options, human);
      // Start from this level's networks, whatever rules they play by.
      if (!match.Computer().LoadNets(level, false)) return Fail("cannot read the scratch networks");
      match.Computer().ApplyLevelRates(p.Rules);
      if (!Learn(match, p.Hands, done, level, progress)) return 1;
      match.Computer().SaveNets(level);
    }
  }
  progress.Clear();
  std::error_code error;
  fs::copy_file(player, out + ".new", fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(out + ".new", out, error);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  fs::remove_all(scratch);
  if (error) return Fail("cannot write " + out + ": " + error.message());
  std::printf("wrote %s: %lu hands in %.0f s (%.0f hands per second)\n", out.c_str(), done, seconds,
              seconds > 0 ? done / seconds : 0.0);
  return 0;
}

const LabCommand& TrainCommand() {
  static const LabCommand command{"train", "builds the default networks of the four levels by play", RunTrain,
                                  PrintHelp};
  return command;
}
