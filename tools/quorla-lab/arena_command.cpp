// quorla-lab arena: whole games between a player in the human seat and the
// computer player, through the same flow the window drives.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "curve_svg.h"
#include "lab_command.h"
#include "numbers.h"
#include "network_files.h"
#include "scratch/scratch_installation.h"
#include "player/data_paths.h"
#include "player/arena_match.h"
#include "player/gin_hunter_player.h"
#include "player/master_player.h"
#include "player/meld_only_player.h"
#include "player/net_player.h"
#include "player/network_data_check.h"
#include "player/seat_player.h"
#include "win_curve.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned long MAX_GAMES = 10000000;
// Player numbers: the human seat is 0, the computer 1.
constexpr uint32_t COMPUTER_SEAT = 1;
constexpr unsigned long MAX_SAMPLES = 100000;
constexpr unsigned long MAX_THINK_MS = 60000;

void PrintHelp() {
  std::printf(
      "usage: quorla-lab arena HUMAN-SEAT COMPUTER-SEAT [--games N] [--variation simple|standard|oklahoma]\n"
      "                        [--target 100|150|250|500] [--deal traditional|eleven] [--seed S]\n"
      "                        [--learn] [--csv FILE] [--curve N [--curve-svg FILE]]\n"
      "                        [--save-networks FILE] [--samples N] [--think-ms MS]\n"
      "\n"
      "Plays N complete games (1..%lu, default 100) through the game flow and prints the\n"
      "games and hands each seat won (with a 95%% interval), the mean points per\n"
      "hand, gin and undercut rates, stock-exhausted ties and hands per second.\n"
      "\n"
      "HUMAN-SEAT     simple | random | meldonly | ginhunter | master | net:L[:FILE]\n"
      "COMPUTER-SEAT  net:L[:FILE] | master[:FILE]\n"
      "simple         takes the upcard when it melds and lowers the deadwood or allows\n"
      "               a knock, throws the highest unmatched card, knocks at once\n"
      "random         any legal move; knocks whenever its discard allows it\n"
      "meldonly       takes the upcard only when it ends in a meld or allows a knock,\n"
      "               throws unmatched cards without partners first, knocks at once\n"
      "ginhunter      takes any upcard that cuts its deadwood by 3 or more, avoids\n"
      "               throwing partners of what the other player took, and plays on\n"
      "               for gin at deadwood 1-4 while the stock holds 16 cards or more\n"
      "master         the fifth level: a belief over the other hand and a search of\n"
      "               each decision in sampled worlds, keeping the move the top\n"
      "               level's player (networks of level 3) would make unless another\n"
      "               clearly beats it; in the computer seat it makes that player's\n"
      "               choices, and master:FILE plays with block 3 of FILE\n"
      "net:L[:FILE]   the computer player's rules at internal level L (0..3, shown\n"
      "               as L+1) with block L of network data file FILE (default:\n"
      "               QLDEFLT.QLF next to the program; 'fresh' for freshly\n"
      "               initialised networks). In the human seat it never learns.\n"
      "\n"
      "Without --learn the computer seat keeps its weights (a measurement); with it\n"
      "the computer learns from every hand as in play. --csv writes one line per\n"
      "game. The match is repeatable for a given seed S (0..%lu, default 1).\n"
      "\n"
      "--curve N (1..the number of games) prints, as the match goes, the share of\n"
      "games the computer seat won in each slice of N games with its 95%% interval:\n"
      "with --learn, how its strength changes as it learns; a last shorter slice\n"
      "is printed too. --curve-svg FILE also draws that curve as an SVG picture\n"
      "with the interval band and the 50%% line.\n"
      "--save-networks FILE writes the computer seat's network data file as it\n"
      "stands after the match (with --learn: what it learned, in its level's\n"
      "block), to be measured or played against later.\n"
      "--samples N (1..%lu, default %u) is the number of worlds master plays each\n"
      "candidate move in; --think-ms MS (0..%lu, default 0: none) also stops each of\n"
      "its searches after MS milliseconds, which makes the match depend on the\n"
      "machine's speed. With master in a seat, its decision times (median, 99th\n"
      "percentile, longest) are printed after the results.\n",
      MAX_GAMES, MAX_SEED, MAX_SAMPLES, MasterBudget::DEFAULT_SAMPLES, MAX_THINK_MS);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorla-lab arena: %s (see quorla-lab arena --help)\n", message.c_str());
  return 2;
}

struct ComputerSeat {
  uint32_t Level = 0;
  bool Master = false;
  std::string File;  // empty: freshly initialised networks
};

bool ParseComputerSeat(std::string_view text, ComputerSeat& seat, std::string& error) {
  std::string masterNet;
  if (text == "master" || text.substr(0, 7) == "master:") {
    // Master decides; the top level's player moves the cards with its own networks.
    seat.Master = true;
    masterNet = "net:3" + std::string(text.substr(6));
    text = masterNet;
  }
  if (text.substr(0, 4) != "net:" || text.size() < 5) {
    error = "the computer seat must be net:L[:FILE] or master[:FILE], not '" + std::string(text) + "'";
    return false;
  }
  unsigned long level;
  std::string_view rest = text.substr(4);
  size_t colon = rest.find(':');
  if (!ParseWholeNumber(rest.substr(0, colon), level, 3)) {
    error = "the level in '" + std::string(text) + "' must be 0, 1, 2 or 3";
    return false;
  }
  seat.Level = static_cast<uint32_t>(level);
  std::string file = colon == std::string_view::npos ? data_paths::ProgramDirectory() + data_paths::DEFAULT_DATA_FILE
                                                     : std::string(rest.substr(colon + 1));
  if (file == "fresh") return true;
  if (!IsNetworkDataFile(file)) {
    error = "no network data file of four level blocks at '" + file + "'";
    return false;
  }
  // A damaged block would leave the seat without networks and the game
  // without a deal: refuse it before anything is played.
  error = network_data::CheckLevelBlock(file, seat.Level);
  if (!error.empty()) return false;
  seat.File = file;
  return true;
}

double Percent(uint64_t part, uint64_t whole) { return whole ? 100.0 * part / whole : 0.0; }

void PrintReport(const MatchStats& s, const std::string& humanName, const std::string& computerName, double seconds) {
  std::printf("%-24s %24s %24s\n", "", humanName.c_str(), computerName.c_str());
  for (uint32_t seat = 0; seat < 2; ++seat) {
    WinShare share = ShareOfGamesWon(s.GamesWon[seat], s.Games);
    char cell[64];
    std::snprintf(cell, sizeof cell, "%llu (%.1f%%, %.1f-%.1f)", static_cast<unsigned long long>(s.GamesWon[seat]),
                  Percent(s.GamesWon[seat], s.Games), 100 * share.Low, 100 * share.High);
    if (seat == 0) std::printf("%-24s %24s", "games won (95% interval)", cell);
    else std::printf(" %24s\n", cell);
  }
  auto row = [&](const char* label, double human, double computer, const char* format) {
    char a[32], b[32];
    std::snprintf(a, sizeof a, format, human);
    std::snprintf(b, sizeof b, format, computer);
    std::printf("%-24s %24s %24s\n", label, a, b);
  };
  row("hands won", static_cast<double>(s.HandsWon[0]), static_cast<double>(s.HandsWon[1]), "%.0f");
  row("mean points per hand", s.Hands ? double(s.Points[0]) / s.Hands : 0, s.Hands ? double(s.Points[1]) / s.Hands : 0,
      "%.2f");
  row("gin rate (% of hands)", Percent(s.Gins[0], s.Hands), Percent(s.Gins[1], s.Hands), "%.1f%%");
  row("undercut rate (% hands)", Percent(s.Undercuts[0], s.Hands), Percent(s.Undercuts[1], s.Hands), "%.1f%%");
  std::printf("games: %llu, tied games: %llu, hands: %llu, stock-exhausted ties: %llu (%.1f%%)\n",
              static_cast<unsigned long long>(s.Games), static_cast<unsigned long long>(s.GamesWon[2]),
              static_cast<unsigned long long>(s.Hands), static_cast<unsigned long long>(s.Ties),
              Percent(s.Ties, s.Hands));
  if (s.Abandoned)
    std::printf("abandoned games (both players kept taking each other's discards): %llu\n",
                static_cast<unsigned long long>(s.Abandoned));
  std::printf("hands per second: %.0f\n", seconds > 0 ? s.Hands / seconds : 0.0);
}

void PrintSlice(const WinCurve::Slice& slice) {
  const WinShare& share = slice.Share;
  char games[48];
  std::snprintf(games, sizeof games, "%llu-%llu", static_cast<unsigned long long>(slice.FirstGame),
                static_cast<unsigned long long>(slice.FirstGame + share.Games - 1));
  std::printf("games %-15s %5.1f%%  (%.1f-%.1f)\n", games, 100 * share.Rate, 100 * share.Low, 100 * share.High);
  std::fflush(stdout);
}

int Run(const std::vector<std::string_view>& args) {
  for (std::string_view arg : args)
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
  if (args.size() < 2) return Fail("needs a human seat and a computer seat");
  MatchOptions options;
  unsigned long games = 100;
  std::string csvPath;
  std::string svgPath;
  std::string savePath;
  unsigned long curveSlice = 0;
  MasterBudget budget;
  for (size_t i = 2; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--learn") {
      options.Learn = true;
      continue;
    }
    if (arg != "--games" && arg != "--seed" && arg != "--target" && arg != "--variation" && arg != "--deal" &&
        arg != "--csv" && arg != "--curve" && arg != "--curve-svg" && arg != "--save-networks" &&
        arg != "--samples" && arg != "--think-ms")
      return Fail("unknown option '" + std::string(arg) + "'");
    if (i + 1 >= args.size()) return Fail("missing value after " + std::string(arg));
    std::string_view value = args[++i];
    unsigned long number;
    if (arg == "--games") {
      if (!ParseWholeNumber(value, number, MAX_GAMES) || number == 0) return Fail(RangeRefusal(arg, 1, MAX_GAMES, value));
      games = number;
    } else if (arg == "--seed") {
      if (!ParseWholeNumber(value, number, MAX_SEED)) return Fail(RangeRefusal(arg, 0, MAX_SEED, value));
      options.Seed = static_cast<int32_t>(number);
    } else if (arg == "--target") {
      if (!ParseWholeNumber(value, number, 500) || !IsValidGameTarget(uint32_t(number)))
        return Fail("--target takes 100, 150, 250 or 500, not '" + std::string(value) + "'");
      options.Target = static_cast<uint32_t>(number);
    } else if (arg == "--variation") {
      if (value != "simple" && value != "standard" && value != "oklahoma")
        return Fail("--variation takes simple, standard or oklahoma, not '" + std::string(value) + "'");
      options.Variation = value == "simple" ? SIMPLE_GIN : value == "standard" ? STANDARD_GIN : OKLAHOMA_GIN;
    } else if (arg == "--deal") {
      if (value != "traditional" && value != "eleven")
        return Fail("--deal takes traditional or eleven, not '" + std::string(value) + "'");
      options.ElevenTenDeal = value == "eleven";
    } else if (arg == "--curve") {
      if (!ParseWholeNumber(value, number, MAX_GAMES) || number == 0)
        return Fail(RangeRefusal(arg, 1, MAX_GAMES, value));
      curveSlice = number;
    } else if (arg == "--samples") {
      if (!ParseWholeNumber(value, number, MAX_SAMPLES) || number == 0)
        return Fail(RangeRefusal(arg, 1, MAX_SAMPLES, value));
      budget.Samples = static_cast<uint32_t>(number);
    } else if (arg == "--think-ms") {
      if (!ParseWholeNumber(value, number, MAX_THINK_MS)) return Fail(RangeRefusal(arg, 0, MAX_THINK_MS, value));
      budget.ThinkMs = static_cast<uint32_t>(number);
    } else if (arg == "--curve-svg") {
      svgPath = std::string(value);
    } else if (arg == "--save-networks") {
      savePath = std::string(value);
    } else {
      csvPath = std::string(value);
    }
  }
  if (curveSlice > games)
    return Fail("--curve takes at most the number of games (" + std::to_string(games) + "), not " +
                std::to_string(curveSlice));
  if (!svgPath.empty() && curveSlice == 0) return Fail("--curve-svg needs --curve N");
  ComputerSeat seat;
  std::string error;
  if (!ParseComputerSeat(args[1], seat, error)) return Fail(error);
  ScratchInstallation scratch("arena", seat.File, static_cast<unsigned>(options.Seed));
  if (scratch.Failed()) return Fail("cannot prepare the networks: " + scratch.Problem());
  options.Level = seat.Level;

  ArenaMatch::SeatFactory makeHuman;
  int32_t seed = options.Seed;
  // The seat's own player, kept for its decision times.
  const MasterPlayer* humanMaster = nullptr;
  if (args[0] == "simple") {
    makeHuman = [](GameFlow&) { return std::make_unique<SimplePlayer>(); };
  } else if (args[0] == "meldonly") {
    makeHuman = [](GameFlow&) { return std::make_unique<MeldOnlyPlayer>(); };
  } else if (args[0] == "ginhunter") {
    makeHuman = [](GameFlow&) { return std::make_unique<GinHunterPlayer>(); };
  } else if (args[0] == "master") {
    // Its adviser, the top level's player, plays with the shipped networks.
    ComputerSeat adviser;
    if (!ParseComputerSeat("net:3", adviser, error)) return Fail("human seat: " + error);
    std::string file = adviser.File.empty() ? data_paths::DefaultDataPath() : adviser.File;
    makeHuman = [budget, seed, file, &humanMaster](GameFlow& flow) {
      auto player = std::make_unique<AdvisedMaster>(flow, file, budget, static_cast<uint64_t>(seed) + 11);
      humanMaster = &player->Master();
      return player;
    };
  } else if (args[0] == "random") {
    makeHuman = [seed](GameFlow&) { return std::make_unique<RandomPlayer>(seed + 7); };
  } else {
    ComputerSeat humanSeat;
    if (!ParseComputerSeat(args[0], humanSeat, error)) return Fail("human seat: " + error);
    // Fresh networks for this seat are those of the scratch installation.
    std::string file = humanSeat.File.empty() ? data_paths::DefaultDataPath() : humanSeat.File;
    makeHuman = [humanSeat, file](GameFlow& flow) { return std::make_unique<NetPlayer>(flow, humanSeat.Level, file); };
  }

  std::ofstream csv;
  if (!csvPath.empty()) {
    csv.open(csvPath, std::ios::trunc);
    if (!csv) return Fail("cannot write " + csvPath);
    csv << "game,winner,human_total,computer_total\n";
  }
  MatchStats stats;
  WinCurve curve(curveSlice);
  if (curveSlice)
    std::printf("games won by %s per %lu games (95%% interval):\n", std::string(args[1]).c_str(), curveSlice);
  const bool progress = isatty(STDERR_FILENO);
  MasterDecider computerMaster(budget, static_cast<uint64_t>(seed) + 13);
  DecisionTimes masterTimes;
  auto start = std::chrono::steady_clock::now();
  int status = 0;
  {
    ArenaMatch match(options, makeHuman);
    if (seat.Master) match.Computer().SetDecider(&computerMaster), computerMaster.TakeAdviceFrom(&match.Computer());
    for (unsigned long game = 1; game <= games; ++game) {
      if (!match.PlayGame(stats)) {
        std::fprintf(stderr, "quorla-lab arena: game %lu: %s\n", game, match.Problem().c_str());
        status = 1;
        break;
      }
      if (csv.is_open()) {
        static const char* const names[] = {"human", "computer", "tie"};
        csv << game << ',' << names[match.LastGameWinner()] << ',' << match.LastTotals(0) << ','
            << match.LastTotals(1) << '\n';
      }
      if (curveSlice && curve.Add(match.LastGameWinner() == COMPUTER_SEAT)) {
        if (progress) std::fprintf(stderr, "\r%*s\r", 60, "");
        PrintSlice(curve.Slices().back());
      }
      if (progress) {
        int filled = static_cast<int>(30 * game / games);
        std::fprintf(stderr, "\r[%s%s] %lu/%lu games", std::string(filled, '#').c_str(),
                     std::string(30 - filled, '.').c_str(), game, games);
      }
    }
    if (humanMaster) masterTimes = humanMaster->Times();
    // Both seats master: the figures are the computer seat's.
    if (seat.Master) match.Computer().SetDecider(nullptr), masterTimes = computerMaster.Master().Times();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (progress) std::fprintf(stderr, "\r%*s\r", 60, "");
  if (curveSlice && curve.Finish()) PrintSlice(curve.Slices().back());
  PrintReport(stats, std::string(args[0]), std::string(args[1]), seconds);
  if (masterTimes.Count())
    std::printf("master decision times (%llu decisions): median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                static_cast<unsigned long long>(masterTimes.Count()), 1000 * masterTimes.Quantile(0.5),
                1000 * masterTimes.Quantile(0.99), 1000 * masterTimes.Max());
  if (csv.is_open()) {
    csv.close();
    if (csv.fail()) return Fail("cannot write " + csvPath);
  }
  // The match has ended: the computer seat has saved its level's networks
  // to the scratch player file.
  if (!savePath.empty()) {
    const std::string problem = CopyDurably(data_paths::PlayerDataPath(), savePath);
    if (!problem.empty()) return Fail("cannot write " + savePath + ": " + problem);
  }
  if (!svgPath.empty()) {
    std::ofstream svg(svgPath, std::ios::trunc);
    const std::string title =
        std::string(args[1]) + " against " + std::string(args[0]) + (options.Learn ? ", learning" : "");
    svg << WinCurveSvg(curve, title, std::string(args[1]));
    svg.close();
    if (!svg) return Fail("cannot write " + svgPath);
  }
  return status;
}

}  // namespace

const LabCommand& ArenaCommand() {
  static const LabCommand command{"arena", "matches between a seat player and the computer", Run, PrintHelp};
  return command;
}
