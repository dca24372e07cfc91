// quorla-lab train: builds the four levels' default networks by play. The
// lower levels learn exactly as the computer player learns in play; the top
// level is fitted to a teacher's judgement of the positions its own play
// meets.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include "lab_command.h"
#include "numbers.h"
#include "network_files.h"
#include "scratch/scratch_installation.h"
#include "training/starting_networks.h"
#include "player/data_paths.h"
#include "player/arena_match.h"
#include "player/net_player.h"
#include "player/network_data.h"
#include "training/network_fit.h"
#include "training/outcome_calibration.h"
#include "training/trial_positions.h"

namespace {

namespace fs = std::filesystem;

// The top level's hands are those of its fit. Fitted on 40,000 hands,
// every seed tried (1 to 7) starts at 57% against simple or close to it;
// what 5,000 games of the game's learning then cost varies from one fit to
// the next, 0.3 to 1.5 points, and follows no simple rule (make strength
// measures it).
constexpr unsigned long DEFAULT_HANDS[NUM_LEVELS] = {3000, 10000, 30000, 40000};
constexpr uint32_t TOP = NUM_LEVELS - 1;
// The top level's hands are played in rounds; after each, its networks are
// fitted to the positions of that round, so the next round meets the
// positions the fitted networks lead to.
constexpr unsigned FIT_ROUNDS = 2;
constexpr unsigned FIT_EPOCHS = 20;
// Calibrated fits aim this share of the way from the teacher's value to the
// hands' mean outcome at that value: the whole way keeps the strength that
// learning by play leaves but starts weaker, since the move selection's
// fixed margins were set for the teacher's scale.
constexpr double CALIBRATED_SHARE = 0.5;
constexpr unsigned long MAX_LEVEL_HANDS = 100000000;
// Games the fitted top level then learns by play (--top-level-games).
constexpr unsigned long DEFAULT_SETTLE_GAMES = 0;
constexpr unsigned long MAX_SETTLE_GAMES = 1000000;
constexpr unsigned long MAX_INITIAL_RANGE = 100000;

void PrintHelp() {
  std::printf(
      "usage: quorla-lab train --out FILE [--seed S] [--hands-per-level A,B,C,D] [--opponent OPPONENT]\n"
      "                        [--start design|fresh|FILE] [--initial-range THOUSANDTHS]\n"
      "                        [--top-level calibrated|fit|play] [--top-level-games G]\n"
      "\n"
      "Builds the default networks of the four levels by play and writes them to\n"
      "FILE as a network data file (four blocks, low then high network, replacing\n"
      "FILE only once complete). Each level starts from its starting design\n"
      "(design, the default: weights that already value melds and low deadwood,\n"
      "judging more of the hand at each higher level), from freshly initialised\n"
      "networks (fresh, seeded by S, default 1) or from the networks of data file\n"
      "FILE, and learns as the computer player does in play, under the top\n"
      "level's rules, whose knocks do not depend on the network, in Standard\n"
      "games: only the high-limit network learns, as learning from low-limit\n"
      "hands made the low-limit one play worse. The human seat is played by the\n"
      "level's own networks as they stood at the start of each quarter of its\n"
      "hands (self, the default), the simple strategy (simple), the random\n"
      "player (random), or the random player for the first half and self-play\n"
      "for the second (random-then-self).\n"
      "\n"
      "The top level (shown 4) is instead fitted: it plays its hands against\n"
      "itself in %u rounds without learning, and after each round its networks\n"
      "are fitted to a judgement of every position its decisions rated. The\n"
      "teacher's value (least deadwood, less credit for each live way to finish\n"
      "a half-built meld and for the deadwood the next draw is expected to save,\n"
      "plus a bonus for drawing from the discard pile) is the\n"
      "judgement of --top-level fit; the default, --top-level calibrated, moves\n"
      "it %.0f%% of the way to the mean outcome of the round's hands at that\n"
      "value and stage of the hand (what the game's learning trains towards),\n"
      "so that learning by play in the game moves the networks less and keeps\n"
      "more of their strength. Each round prints that outcome line per stage.\n"
      "Learning by play (--top-level play) lowers its strength.\n"
      "--top-level-games G (0..%lu, default %lu) lets the fitted top level then\n"
      "learn by play, as the computer player does in a game, for G whole games\n"
      "against simple, random, its networks as the fit left them and its own\n"
      "current networks in turn, one game each.\n"
      "--initial-range (with --start fresh) draws every starting weight within\n"
      "+-THOUSANDTHS/1000 (THOUSANDTHS 0..%lu) instead of the library's default ranges.\n"
      "Hands per level: each 0..%lu, default %lu,%lu,%lu,%lu. S: 0..%lu.\n",
      FIT_ROUNDS, 100 * CALIBRATED_SHARE, MAX_SETTLE_GAMES, DEFAULT_SETTLE_GAMES, MAX_INITIAL_RANGE, MAX_LEVEL_HANDS, DEFAULT_HANDS[0], DEFAULT_HANDS[1], DEFAULT_HANDS[2],
      DEFAULT_HANDS[3], MAX_SEED);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorla-lab train: %s (see quorla-lab train --help)\n", message.c_str());
  return 2;
}

bool ParseHands(std::string_view text, unsigned long (&hands)[NUM_LEVELS]) {
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (level == NUM_LEVELS - 1)) return false;
    if (!ParseWholeNumber(text.substr(0, comma), hands[level], MAX_LEVEL_HANDS)) return false;
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
  void ShowFit(uint32_t level, unsigned round, unsigned epoch) {
    if (!isatty(STDERR_FILENO)) return;
    std::fprintf(stderr, "\rlevel %u: fitting, round %u of %u, epoch %u of %u%*s", level + 1, round + 1, FIT_ROUNDS,
                 epoch, FIT_EPOCHS, 30, "");
  }
  void ShowSettle(uint32_t level, unsigned long game, unsigned long games) {
    if (!isatty(STDERR_FILENO)) return;
    std::fprintf(stderr, "\rlevel %u: learning by play, game %lu of %lu%*s", level + 1, game, games, 30, "");
  }
  void Clear() {
    if (isatty(STDERR_FILENO)) std::fprintf(stderr, "\r%*s\r", 90, "");
  }

 private:
  unsigned long Total;
  std::chrono::steady_clock::time_point Start;
};

// Plays games until `hands` more hands are done.
bool Play(ArenaMatch& match, unsigned long hands, unsigned long& done, uint32_t level, Progress& progress) {
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

enum class Opponent { SELF, SIMPLE, RANDOM, RANDOM_THEN_SELF, FITTED };
// The top level's learning phase meets these in turn, one game each: no one
// opponent's style decides where its learning goes.
constexpr Opponent SETTLE_POOL[] = {Opponent::SIMPLE, Opponent::RANDOM, Opponent::FITTED, Opponent::SELF};
enum class TopLevel { FIT, CALIBRATED, PLAY };

void PrintCalibration(const OutcomeCalibration& calibration) {
  for (uint32_t s = 0; s < OutcomeCalibration::STAGES; ++s)
    std::printf("  turns %u%s: %zu positions, outcome = %.3f + %.3f x teacher\n", 2 * s,
                s + 1 < OutcomeCalibration::STAGES ? ("-" + std::to_string(2 * s + 1)).c_str() : "+",
                calibration.Count[s], calibration.Intercept[s], calibration.Slope[s]);
}

// The levels' networks travel between matches through their blocks of the
// scratch installation's player file. Every match is played under the top
// level's rules, whose knocks do not depend on the network, in Standard
// games.
class Trainer {
 public:
  Trainer(unsigned long seed, const std::string& scratch, unsigned long total)
      : Seed(seed),
        Player(data_paths::PlayerDataPath()),
        Snapshot(scratch + "/snapshot.qlf"),
        Fitted(scratch + "/fitted.qlf"),
        Meter(total) {}

  Opponent Chosen = Opponent::SELF;
  bool FreshStart = false;
  double InitialRange = 0;

  // Learns as the computer player does in play, in four quarters. Only the
  // high-limit network learns: learning from Oklahoma hands made the
  // low-limit network play worse, under Oklahoma and under Simple rules, so
  // it keeps its start.
  bool LearnByPlay(uint32_t level, unsigned long hands) {
    for (uint32_t quarter = 0; quarter < 4; ++quarter) {
      unsigned long count = quarter < 3 ? hands / 4 : hands - 3 * (hands / 4);
      if (count == 0) continue;
      Opponent opponent = Chosen;
      if (Chosen == Opponent::RANDOM_THEN_SELF) opponent = quarter < 2 ? Opponent::RANDOM : Opponent::SELF;
      ArenaMatch match(Options(level, true), HumanSeat(level, opponent));
      if (!match.Computer().LoadNets(level, false)) return Fail("cannot read the scratch networks");
      if (quarter == 0 && FreshStart && InitialRange > 0)
        for (uint32_t choice : {LOW_NET, HIGH_NET})
          for (unsigned layer = 1; layer < NxNeuralBase::MAX_LAYERS; ++layer)
            match.Computer().GetNet(choice)->CustomizeInitialWeights(layer, InitialRange);
      match.Computer().ApplyLevelRates(TOP);
      if (!Play(match, count, Done, level, Meter)) return false;
      match.Computer().SaveNets(level);
    }
    return true;
  }

  // Plays against itself without learning, watching every position its
  // decisions rate, and fits the high-limit network to the teacher's values
  // of them; the low-limit network gets the same weights.
  bool FitByPlay(uint32_t level, unsigned long hands, bool calibrated) {
    for (unsigned round = 0; round < FIT_ROUNDS; ++round) {
      unsigned long count = round + 1 < FIT_ROUNDS ? hands / FIT_ROUNDS : hands - (FIT_ROUNDS - 1) * (hands / FIT_ROUNDS);
      if (count == 0) continue;
      ArenaMatch match(Options(level, false), HumanSeat(level, Opponent::SELF));
      ComputerPlay& computer = match.Computer();
      if (!computer.LoadNets(level, false)) return Fail("cannot read the scratch networks");
      TrialPositions trials;
      computer.WatchTrials(&trials);
      if (!Play(match, count, Done, level, Meter)) return false;
      computer.WatchTrials(nullptr);
      std::printf("level %u, round %u: the hands' outcomes against the teacher's values\n", level + 1, round + 1);
      Calibrate(trials, calibrated);
      FitOptions options;
      options.Epochs = FIT_EPOCHS;
      options.Seed = Seed * 31 + round;
      FitReport report = FitToTeacher(*computer.GetNet(HIGH_NET), trials, options,
                                      [&](unsigned epoch) { Meter.ShowFit(level, round, epoch); });
      if (!report.Fitted || !CopyWeights(*computer.GetNet(HIGH_NET), *computer.GetNet(LOW_NET)))
        return Fail("the networks are not shaped for fitting");
      Meter.Clear();
      std::printf("level %u, round %u: %zu decisions; spread %.2f -> %.2f points, best agrees %.1f%% -> %.1f%%\n",
                  level + 1, round + 1, trials.Decisions(), report.SpreadBefore, report.SpreadAfter,
                  100 * report.AgreementBefore, 100 * report.AgreementAfter);
      computer.SaveNets(level);
    }
    return true;
  }

  // Shows how the round's outcomes follow the teacher's values and, for a
  // calibrated fit, moves the targets towards them.
  static void Calibrate(TrialPositions& trials, bool calibrated) {
    const OutcomeCalibration calibration = FitOutcomeCalibration(trials.Outcomes());
    PrintCalibration(calibration);
    if (!calibrated) return;
    trials.MapTargets([&](double target, const float* cells) {
      const double outcome = calibration.Map(target, TurnOf(cells[ComputerPlay::PROGRESS]));
      return target + CALIBRATED_SHARE * (outcome - target);
    });
  }

  // After the fit, the top level learns by play exactly as the computer
  // player does in a game, for `games` whole games against the pool: the
  // shipped networks then already sit where the game's learning takes them.
  bool SettleByPlay(uint32_t level, unsigned long games) {
    if (games == 0) return true;
    fs::copy_file(Player, Fitted, fs::copy_options::overwrite_existing);
    MatchStats stats;
    for (unsigned long game = 0; game < games; ++game) {
      ArenaMatch match(Options(level, true), HumanSeat(level, SETTLE_POOL[game % std::size(SETTLE_POOL)]));
      if (!match.Computer().LoadNets(level, false)) return Fail("cannot read the scratch networks");
      match.Computer().ApplyLevelRates(TOP);
      const uint64_t before = stats.Hands;
      if (!match.PlayGame(stats)) {
        std::fprintf(stderr, "quorla-lab train: %s\n", match.Problem().c_str());
        return false;
      }
      Done += stats.Hands - before;
      match.Computer().SaveNets(level);
      Meter.ShowSettle(level, game + 1, games);
    }
    Meter.Clear();
    std::printf("level %u: learned by play for %lu games (%llu hands), won %llu against the pool\n", level + 1,
                games, static_cast<unsigned long long>(stats.Hands),
                static_cast<unsigned long long>(stats.GamesWon[1]));
    return true;
  }

  unsigned long Hands() const { return Done; }
  void ClearProgress() { Meter.Clear(); }

 private:
  static bool Fail(const char* message) {
    std::fprintf(stderr, "quorla-lab train: %s\n", message);
    return false;
  }

  // Each match of a run deals from its own seed.
  int32_t MatchSeed(uint32_t level) const {
    return static_cast<int32_t>((Seed * 7919 + level * 104729 + Done) % 714025);
  }

  MatchOptions Options(uint32_t level, bool learn) const {
    MatchOptions options;
    options.Level = TOP;
    options.Learn = learn;
    options.Seed = MatchSeed(level);
    return options;
  }

  // Self-play meets the level's networks as they stood when the match began.
  ArenaMatch::SeatFactory HumanSeat(uint32_t level, Opponent opponent) const {
    if (opponent == Opponent::SELF) fs::copy_file(Player, Snapshot, fs::copy_options::overwrite_existing);
    int32_t seed = MatchSeed(level);
    std::string snapshot = opponent == Opponent::FITTED ? Fitted : Snapshot;
    return [opponent, level, seed, snapshot](GameFlow& flow) -> std::unique_ptr<SeatPlayer> {
      if (opponent == Opponent::SELF || opponent == Opponent::FITTED)
        return std::make_unique<NetPlayer>(flow, TOP, snapshot, level);
      if (opponent == Opponent::RANDOM) return std::make_unique<RandomPlayer>(seed);
      return std::make_unique<SimplePlayer>();
    };
  }

  unsigned long Seed;
  std::string Player;
  std::string Snapshot;
  std::string Fitted;  // the top level as its fit left it
  Progress Meter;
  unsigned long Done = 0;
};

}  // namespace

static int RunTrain(const std::vector<std::string_view>& args) {
  std::string out;
  unsigned long seed = 1;
  Opponent chosen = Opponent::SELF;
  double initialRange = 0;
  bool designedStart = true;
  TopLevel top = TopLevel::CALIBRATED;
  unsigned long settleGames = DEFAULT_SETTLE_GAMES;
  std::string startFile;  // continue from this network data file
  unsigned long hands[NUM_LEVELS];
  std::copy(DEFAULT_HANDS, DEFAULT_HANDS + NUM_LEVELS, hands);
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (arg != "--out" && arg != "--seed" && arg != "--hands-per-level" && arg != "--opponent" && arg != "--start" &&
        arg != "--initial-range" && arg != "--top-level" && arg != "--top-level-games")
      return Fail("unknown option '" + std::string(arg) + "'");
    if (i + 1 >= args.size()) return Fail("missing value after " + std::string(arg));
    std::string_view value = args[++i];
    if (arg == "--out") out = std::string(value);
    else if (arg == "--seed") {
      if (!ParseWholeNumber(value, seed, MAX_SEED)) return Fail(RangeRefusal(arg, 0, MAX_SEED, value));
    }
    else if (arg == "--hands-per-level") {
      if (!ParseHands(value, hands))
        return Fail("--hands-per-level takes four whole numbers from 0 to " + std::to_string(MAX_LEVEL_HANDS) +
                    " separated by commas, not '" + std::string(value) + "'");
    }
    else if (arg == "--opponent" && value == "self") chosen = Opponent::SELF;
    else if (arg == "--opponent" && value == "simple") chosen = Opponent::SIMPLE;
    else if (arg == "--opponent" && value == "random") chosen = Opponent::RANDOM;
    else if (arg == "--opponent" && value == "random-then-self") chosen = Opponent::RANDOM_THEN_SELF;
    else if (arg == "--start" && value == "design") designedStart = true;
    else if (arg == "--start" && value == "fresh") designedStart = false;
    else if (arg == "--start") {
      if (!IsNetworkDataFile(std::string(value)))
        return Fail("--start takes design, fresh or a network data file of four level blocks (" +
                    std::to_string(NUM_LEVELS * LEVEL_BLOCK_BYTES) + " bytes); '" + std::string(value) +
                    "' is none of them");
      designedStart = false;
      startFile = std::string(value);
    }
    else if (arg == "--initial-range") {
      unsigned long thousandths;
      if (!ParseWholeNumber(value, thousandths, MAX_INITIAL_RANGE))
        return Fail(RangeRefusal(arg, 0, MAX_INITIAL_RANGE, value) + " (thousandths)");
      initialRange = thousandths / 1000.0;
    }
    else if (arg == "--top-level-games") {
      if (!ParseWholeNumber(value, settleGames, MAX_SETTLE_GAMES))
        return Fail(RangeRefusal(arg, 0, MAX_SETTLE_GAMES, value));
    }
    else if (arg == "--top-level" && value == "fit") top = TopLevel::FIT;
    else if (arg == "--top-level" && value == "calibrated") top = TopLevel::CALIBRATED;
    else if (arg == "--top-level" && value == "play") top = TopLevel::PLAY;
    else if (arg == "--opponent")
      return Fail("--opponent takes self, simple, random or random-then-self, not '" + std::string(value) + "'");
    else return Fail("--top-level takes fit, calibrated or play, not '" + std::string(value) + "'");
  }
  if (out.empty()) return Fail("--out FILE is required");

  ScratchInstallation scratchDir("train", "", static_cast<unsigned>(seed));
  if (scratchDir.Failed()) return Fail("cannot create a scratch installation: " + scratchDir.Problem());
  std::string player = data_paths::PlayerDataPath();
  if (designedStart && !WriteStartingDataFile(player)) return Fail("cannot write the starting networks");
  std::error_code copyError;
  if (!startFile.empty()) fs::copy_file(startFile, player, fs::copy_options::overwrite_existing, copyError);
  if (copyError) return Fail("cannot copy " + startFile + ": " + copyError.message());
  unsigned long total = 0;
  for (unsigned long h : hands) total += h;
  Trainer trainer(seed, scratchDir.Root().string(), total);
  trainer.Chosen = chosen;
  trainer.FreshStart = !designedStart && startFile.empty();
  trainer.InitialRange = initialRange;
  auto start = std::chrono::steady_clock::now();
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    bool trained = level == TOP && top != TopLevel::PLAY
                       ? trainer.FitByPlay(level, hands[level], top == TopLevel::CALIBRATED)
                                          : trainer.LearnByPlay(level, hands[level]);
    if (!trained || (level == TOP && top != TopLevel::PLAY && !trainer.SettleByPlay(level, settleGames))) return 1;
  }
  trainer.ClearProgress();
  const std::string problem = CopyDurably(player, out);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!problem.empty()) return Fail("cannot write " + out + ": " + problem);
  std::printf("wrote %s: %lu hands in %.0f s (%.0f hands per second)\n", out.c_str(), trainer.Hands(), seconds,
              seconds > 0 ? trainer.Hands() / seconds : 0.0);
  return 0;
}

const LabCommand& TrainCommand() {
  static const LabCommand command{"train", "builds the default networks of the four levels by play", RunTrain,
                                  PrintHelp};
  return command;
}
