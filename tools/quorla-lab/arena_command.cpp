// quorla-lab arena: whole games between a player in the human seat and the
// computer player, through the same flow the window drives.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "curve_svg.h"
#include "lab_command.h"
#include "network_files.h"
#include "numbers.h"
#include "options.h"
#include "progress_bar.h"
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

constexpr unsigned long MAX_GAMES = 10000000;
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
  for (uint32_t seat = 0; seat < SEAT_COUNT; ++seat) {
    WinShare share = ShareOfGamesWon(s.GamesWon[seat], s.Games);
    char cell[64];
    std::snprintf(cell, sizeof cell, "%llu (%.1f%%, %.1f-%.1f)", static_cast<unsigned long long>(s.GamesWon[seat]),
                  Percent(s.GamesWon[seat], s.Games), 100 * share.Low, 100 * share.High);
    if (seat == HUMAN_SEAT) std::printf("%-24s %24s", "games won (95% interval)", cell);
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

struct ArenaSettings {
  MatchOptions Match;
  unsigned long Games = 100;
  unsigned long CurveSlice = 0;
  MasterBudget Budget;
  std::string CsvPath;
  std::string SvgPath;
  std::string SavePath;
};

CommandOptions ArenaOptions(ArenaSettings& s) {
  CommandOptions options("arena", PrintHelp);
  options.Leading(2, "needs a human seat and a computer seat");
  options.Flag("--learn", s.Match.Learn);
  options.Whole("--games", 1, MAX_GAMES, s.Games);
  options.Whole("--seed", 0, MAX_SEED, s.Match.Seed);
  options.Value("--target", [&s](std::string_view value) {
    unsigned long target;
    if (!ParseWholeNumber(value, target, 500) || !IsValidGameTarget(uint32_t(target)))
      return "--target takes 100, 150, 250 or 500, not '" + std::string(value) + "'";
    s.Match.Target = static_cast<uint32_t>(target);
    return std::string();
  });
  // In the order of the game's variation numbers.
  options.Choice("--variation", {"simple", "standard", "oklahoma"}, s.Match.Variation);
  options.Choice("--deal", {"traditional", "eleven"}, s.Match.ElevenTenDeal);
  options.Text("--csv", s.CsvPath);
  options.Whole("--curve", 1, MAX_GAMES, s.CurveSlice);
  options.Text("--curve-svg", s.SvgPath);
  options.Text("--save-networks", s.SavePath);
  options.Whole("--samples", 1, MAX_SAMPLES, s.Budget.Samples);
  options.Whole("--think-ms", 0, MAX_THINK_MS, s.Budget.ThinkMs);
  return options;
}

// What the options allow alone but not together; empty when nothing.
std::string CurveProblem(const ArenaSettings& s) {
  if (s.CurveSlice > s.Games)
    return "--curve takes at most the number of games (" + std::to_string(s.Games) + "), not " +
           std::to_string(s.CurveSlice);
  if (!s.SvgPath.empty() && s.CurveSlice == 0) return "--curve-svg needs --curve N";
  return "";
}

struct HumanSeat {
  ArenaMatch::SeatFactory Make;
  // The seat's own master player, kept for its decision times.
  const MasterPlayer* Master = nullptr;
};

bool MakeHumanSeat(std::string_view name, const ArenaSettings& s, HumanSeat& human, std::string& error) {
  const int32_t seed = s.Match.Seed;
  if (name == "simple") {
    human.Make = [](GameFlow&) { return std::make_unique<SimplePlayer>(); };
  } else if (name == "meldonly") {
    human.Make = [](GameFlow&) { return std::make_unique<MeldOnlyPlayer>(); };
  } else if (name == "ginhunter") {
    human.Make = [](GameFlow&) { return std::make_unique<GinHunterPlayer>(); };
  } else if (name == "master") {
    // Its adviser, the top level's player, plays with the shipped networks.
    ComputerSeat adviser;
    if (!ParseComputerSeat("net:3", adviser, error)) return false;
    std::string file = adviser.File.empty() ? data_paths::DefaultDataPath() : adviser.File;
    human.Make = [budget = s.Budget, seed, file, &human](GameFlow& flow) {
      auto player = std::make_unique<AdvisedMaster>(flow, file, budget, static_cast<uint64_t>(seed) + 11);
      human.Master = &player->Master();
      return player;
    };
  } else if (name == "random") {
    human.Make = [seed](GameFlow&) { return std::make_unique<RandomPlayer>(seed + 7); };
  } else {
    ComputerSeat seat;
    if (!ParseComputerSeat(name, seat, error)) return false;
    // Fresh networks for this seat are those of the scratch installation.
    std::string file = seat.File.empty() ? data_paths::DefaultDataPath() : seat.File;
    human.Make = [seat, file](GameFlow& flow) { return std::make_unique<NetPlayer>(flow, seat.Level, file); };
  }
  return true;
}

// One line per game, when asked for.
bool OpenGameLog(const std::string& path, std::ofstream& csv) {
  if (path.empty()) return true;
  csv.open(path, std::ios::trunc);
  csv << "game,winner,human_total,computer_total\n";
  return bool(csv);
}

void LogGame(unsigned long game, const ArenaMatch& match, std::ofstream& csv) {
  static const char* const names[] = {"human", "computer", "tie"};
  if (csv.is_open())
    csv << game << ',' << names[match.LastGameWinner()] << ',' << match.LastTotals(0) << ',' << match.LastTotals(1)
        << '\n';
}

struct MatchResult {
  MatchStats Stats;
  DecisionTimes MasterTimes;
  double Seconds = 0;
  int Status = 0;
};

MatchResult PlayMatch(const ArenaSettings& s, const ComputerSeat& seat, HumanSeat& human, std::ofstream& csv,
                      WinCurve& curve) {
  MatchResult result;
  MasterDecider computerMaster(s.Budget, static_cast<uint64_t>(s.Match.Seed) + 13);
  ProgressBar progress(s.Games, "games");
  auto start = std::chrono::steady_clock::now();
  {
    ArenaMatch match(s.Match, human.Make);
    if (seat.Master) match.Computer().SetDecider(&computerMaster), computerMaster.TakeAdviceFrom(&match.Computer());
    for (unsigned long game = 1; game <= s.Games; ++game) {
      if (!match.PlayGame(result.Stats)) {
        std::fprintf(stderr, "quorla-lab arena: game %lu: %s\n", game, match.Problem().c_str());
        result.Status = 1;
        break;
      }
      LogGame(game, match, csv);
      if (s.CurveSlice && curve.Add(match.LastGameWinner() == COMPUTER_SEAT)) {
        ProgressBar::Clear();
        PrintSlice(curve.Slices().back());
      }
      progress.Show(game);
    }
    if (human.Master) result.MasterTimes = human.Master->Times();
    // Both seats master: the figures are the computer seat's.
    if (seat.Master) match.Computer().SetDecider(nullptr), result.MasterTimes = computerMaster.Master().Times();
  }
  result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ProgressBar::Clear();
  return result;
}

void PrintMasterTimes(const DecisionTimes& times) {
  if (times.Count())
    std::printf("master decision times (%llu decisions): median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                static_cast<unsigned long long>(times.Count()), 1000 * times.Quantile(0.5),
                1000 * times.Quantile(0.99), 1000 * times.Max());
}

// The files asked for besides the report; what could not be written, or empty.
std::string WriteFiles(const ArenaSettings& s, std::ofstream& csv, const WinCurve& curve, const std::string& title,
                       const std::string& computerName) {
  if (csv.is_open()) {
    csv.close();
    if (csv.fail()) return "cannot write " + s.CsvPath;
  }
  // The match has ended: the computer seat has saved its level's networks
  // to the scratch player file.
  if (!s.SavePath.empty()) {
    const std::string problem = CopyDurably(data_paths::PlayerDataPath(), s.SavePath);
    if (!problem.empty()) return "cannot write " + s.SavePath + ": " + problem;
  }
  if (!s.SvgPath.empty()) {
    std::ofstream svg(s.SvgPath, std::ios::trunc);
    svg << WinCurveSvg(curve, title, computerName);
    svg.close();
    if (!svg) return "cannot write " + s.SvgPath;
  }
  return "";
}

int Run(const std::vector<std::string_view>& args) {
  ArenaSettings settings;
  const CommandOptions options = ArenaOptions(settings);
  if (auto status = options.Parse(args)) return *status;
  if (std::string problem = CurveProblem(settings); !problem.empty()) return options.Fail(problem);
  ComputerSeat seat;
  std::string error;
  if (!ParseComputerSeat(args[1], seat, error)) return options.Fail(error);
  ScratchInstallation scratch("arena", seat.File, static_cast<unsigned>(settings.Match.Seed));
  if (scratch.Failed()) return options.Fail("cannot prepare the networks: " + scratch.Problem());
  settings.Match.Level = seat.Level;
  HumanSeat human;
  if (!MakeHumanSeat(args[0], settings, human, error)) return options.Fail("human seat: " + error);
  std::ofstream csv;
  if (!OpenGameLog(settings.CsvPath, csv)) return options.Fail("cannot write " + settings.CsvPath);

  const std::string humanName(args[0]), computerName(args[1]);
  WinCurve curve(settings.CurveSlice);
  if (settings.CurveSlice)
    std::printf("games won by %s per %lu games (95%% interval):\n", computerName.c_str(), settings.CurveSlice);
  const MatchResult result = PlayMatch(settings, seat, human, csv, curve);
  if (settings.CurveSlice && curve.Finish()) PrintSlice(curve.Slices().back());
  PrintReport(result.Stats, humanName, computerName, result.Seconds);
  PrintMasterTimes(result.MasterTimes);
  const std::string title = computerName + " against " + humanName + (settings.Match.Learn ? ", learning" : "");
  if (std::string problem = WriteFiles(settings, csv, curve, title, computerName); !problem.empty())
    return options.Fail(problem);
  return result.Status;
}

}  // namespace

const LabCommand& ArenaCommand() {
  static const LabCommand command{"arena", "matches between a seat player and the computer", Run, PrintHelp};
  return command;
}
