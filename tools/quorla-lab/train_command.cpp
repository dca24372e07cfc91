// quorla-lab train: builds the four levels' default networks by play. The
// lower levels learn exactly as the computer player learns in play; the top
// level is fitted to a teacher's judgement of the positions its own play
// meets.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <string>

#include "lab_command.h"
#include "network_files.h"
#include "numbers.h"
#include "options.h"
#include "progress_bar.h"
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

bool ParseHands(std::string_view text, unsigned long (&hands)[NUM_LEVELS]) {
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (level == NUM_LEVELS - 1)) return false;
    if (!ParseWholeNumber(text.substr(0, comma), hands[level], MAX_LEVEL_HANDS)) return false;
    if (comma != std::string_view::npos) text = text.substr(comma + 1);
  }
  return true;
}

// In the order of --opponent's words.
enum class Opponent { SELF, SIMPLE, RANDOM, RANDOM_THEN_SELF, FITTED };
// The top level's learning phase meets these in turn, one game each: no one
// opponent's style decides where its learning goes.
constexpr Opponent SETTLE_POOL[] = {Opponent::SIMPLE, Opponent::RANDOM, Opponent::FITTED, Opponent::SELF};
// In the order of --top-level's words.
enum class TopLevel { FIT, CALIBRATED, PLAY };

void PrintCalibration(const OutcomeCalibration& calibration) {
  for (uint32_t s = 0; s < OutcomeCalibration::STAGES; ++s)
    std::printf("  turns %u%s: %zu positions, outcome = %.3f + %.3f x teacher\n", 2 * s,
                s + 1 < OutcomeCalibration::STAGES ? ("-" + std::to_string(2 * s + 1)).c_str() : "+",
                calibration.Count[s], calibration.Intercept[s], calibration.Slope[s]);
}

struct TrainSettings {
  TrainSettings() { std::copy(DEFAULT_HANDS, DEFAULT_HANDS + NUM_LEVELS, Hands); }

  std::string Out;
  unsigned long Seed = 1;
  Opponent Chosen = Opponent::SELF;
  double InitialRange = 0;
  bool DesignedStart = true;
  std::string StartFile;  // continue from this network data file
  TopLevel Top = TopLevel::CALIBRATED;
  unsigned long SettleGames = DEFAULT_SETTLE_GAMES;
  unsigned long Hands[NUM_LEVELS];
};

// The levels' networks travel between matches through their blocks of the
// scratch installation's player file. Every match is played under the top
// level's rules, whose knocks do not depend on the network, in Standard
// games.
class Trainer {
 public:
  Trainer(const TrainSettings& settings, const std::string& scratch)
      : Settings(settings),
        Player(data_paths::PlayerDataPath()),
        Snapshot(scratch + "/snapshot.qlf"),
        Fitted(scratch + "/fitted.qlf"),
        Meter(std::accumulate(std::begin(settings.Hands), std::end(settings.Hands), 0UL), "hands") {}

  bool TrainLevels() {
    for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
      const TopLevel top = Settings.Top;
      const bool trained = level == TOP && top != TopLevel::PLAY
                               ? FitByPlay(level, Settings.Hands[level], top == TopLevel::CALIBRATED) &&
                                     SettleByPlay(level, Settings.SettleGames)
                               : LearnByPlay(level, Settings.Hands[level]);
      if (!trained) return false;
    }
    return true;
  }

  unsigned long Hands() const { return Done; }

 private:
  // Learns as the computer player does in play, in four quarters. Only the
  // high-limit network learns: learning from Oklahoma hands made the
  // low-limit network play worse, under Oklahoma and under Simple rules, so
  // it keeps its start.
  bool LearnByPlay(uint32_t level, unsigned long hands) {
    for (uint32_t quarter = 0; quarter < 4; ++quarter) {
      unsigned long count = quarter < 3 ? hands / 4 : hands - 3 * (hands / 4);
      if (count == 0) continue;
      Opponent opponent = Settings.Chosen;
      if (opponent == Opponent::RANDOM_THEN_SELF) opponent = quarter < 2 ? Opponent::RANDOM : Opponent::SELF;
      ArenaMatch match(Options(level, true), HumanSeat(level, opponent));
      if (!match.Computer().LoadNets(level, false)) return Fail("cannot read the scratch networks");
      const bool freshStart = !Settings.DesignedStart && Settings.StartFile.empty();
      if (quarter == 0 && freshStart && Settings.InitialRange > 0)
        for (uint32_t choice : {LOW_NET, HIGH_NET})
          for (unsigned layer = 1; layer < NxNeuralBase::MAX_LAYERS; ++layer)
            match.Computer().GetNet(choice)->CustomizeInitialWeights(layer, Settings.InitialRange);
      match.Computer().ApplyLevelRates(TOP);
      if (!PlayHands(match, count, level)) return false;
      match.Computer().SaveNets(level);
    }
    return true;
  }

  // Plays against itself without learning, watching every position its
  // decisions rate, and fits the networks to the teacher's values of them.
  bool FitByPlay(uint32_t level, unsigned long hands, bool calibrated) {
    for (unsigned round = 0; round < FIT_ROUNDS; ++round) {
      unsigned long count = round + 1 < FIT_ROUNDS ? hands / FIT_ROUNDS : hands - (FIT_ROUNDS - 1) * (hands / FIT_ROUNDS);
      if (count == 0) continue;
      ArenaMatch match(Options(level, false), HumanSeat(level, Opponent::SELF));
      ComputerPlay& computer = match.Computer();
      if (!computer.LoadNets(level, false)) return Fail("cannot read the scratch networks");
      TrialPositions trials;
      computer.WatchTrials(&trials);
      if (!PlayHands(match, count, level)) return false;
      computer.WatchTrials(nullptr);
      std::printf("level %u, round %u: the hands' outcomes against the teacher's values\n", level + 1, round + 1);
      Calibrate(trials, calibrated);
      if (!FitRound(computer, trials, level, round)) return Fail("the networks are not shaped for fitting");
      computer.SaveNets(level);
    }
    return true;
  }

  // Fits the high-limit network to the round's positions and gives the
  // low-limit one the same weights.
  bool FitRound(ComputerPlay& computer, const TrialPositions& trials, uint32_t level, unsigned round) const {
    FitOptions options;
    options.Epochs = FIT_EPOCHS;
    options.Seed = Settings.Seed * 31 + round;
    ProgressBar epochs(FIT_EPOCHS, "epochs");
    const std::string label =
        "level " + std::to_string(level + 1) + ": fitting, round " + std::to_string(round + 1) + " of " +
        std::to_string(FIT_ROUNDS);
    FitReport report = FitToTeacher(*computer.GetNet(HIGH_NET), trials, options,
                                    [&](unsigned epoch) { epochs.Show(epoch, label); });
    if (!report.Fitted || !CopyWeights(*computer.GetNet(HIGH_NET), *computer.GetNet(LOW_NET))) return false;
    ProgressBar::Clear();
    std::printf("level %u, round %u: %zu decisions; spread %.2f -> %.2f points, best agrees %.1f%% -> %.1f%%\n",
                level + 1, round + 1, trials.Decisions(), report.SpreadBefore, report.SpreadAfter,
                100 * report.AgreementBefore, 100 * report.AgreementAfter);
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
    ProgressBar progress(games, "games");
    const std::string label = "level " + std::to_string(level + 1) + ": learning by play";
    for (unsigned long game = 0; game < games; ++game) {
      ArenaMatch match(Options(level, true), HumanSeat(level, SETTLE_POOL[game % std::size(SETTLE_POOL)]));
      if (!match.Computer().LoadNets(level, false)) return Fail("cannot read the scratch networks");
      match.Computer().ApplyLevelRates(TOP);
      if (!PlayGame(match, stats)) return false;
      match.Computer().SaveNets(level);
      progress.Show(game + 1, label);
    }
    ProgressBar::Clear();
    std::printf("level %u: learned by play for %lu games (%llu hands), won %llu against the pool\n", level + 1,
                games, static_cast<unsigned long long>(stats.Hands),
                static_cast<unsigned long long>(stats.GamesWon[1]));
    return true;
  }

  static bool Fail(const char* message) {
    std::fprintf(stderr, "quorla-lab train: %s\n", message);
    return false;
  }

  // One game; its hands count towards the run's.
  bool PlayGame(ArenaMatch& match, MatchStats& stats) {
    const uint64_t before = stats.Hands;
    if (!match.PlayGame(stats)) {
      std::fprintf(stderr, "quorla-lab train: %s\n", match.Problem().c_str());
      return false;
    }
    Done += stats.Hands - before;
    return true;
  }

  // Plays games until `hands` more hands are done.
  bool PlayHands(ArenaMatch& match, unsigned long hands, uint32_t level) {
    MatchStats stats;
    while (stats.Hands < hands) {
      if (!PlayGame(match, stats)) return false;
      Meter.Show(Done, "level " + std::to_string(level + 1));
    }
    return true;
  }

  // Each match of a run deals from its own seed.
  int32_t MatchSeed(uint32_t level) const {
    return static_cast<int32_t>((Settings.Seed * 7919 + level * 104729 + Done) % 714025);
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

  const TrainSettings& Settings;
  std::string Player;
  std::string Snapshot;
  std::string Fitted;  // the top level as its fit left it
  ProgressBar Meter;
  unsigned long Done = 0;
};

std::string ReadStart(std::string_view value, TrainSettings& s) {
  if (value == "design" || value == "fresh") {
    s.DesignedStart = value == "design";
    return "";
  }
  if (!IsNetworkDataFile(std::string(value)))
    return "--start takes design, fresh or a network data file of four level blocks (" +
           std::to_string(NUM_LEVELS * LEVEL_BLOCK_BYTES) + " bytes); '" + std::string(value) + "' is none of them";
  s.DesignedStart = false;
  s.StartFile = std::string(value);
  return "";
}

CommandOptions TrainOptions(TrainSettings& s) {
  CommandOptions options("train", PrintHelp);
  options.Text("--out", s.Out);
  options.Whole("--seed", 0, MAX_SEED, s.Seed);
  options.Value("--hands-per-level", [&s](std::string_view value) {
    if (ParseHands(value, s.Hands)) return std::string();
    return "--hands-per-level takes four whole numbers from 0 to " + std::to_string(MAX_LEVEL_HANDS) +
           " separated by commas, not '" + std::string(value) + "'";
  });
  options.Choice("--opponent", {"self", "simple", "random", "random-then-self"}, s.Chosen);
  options.Value("--start", [&s](std::string_view value) { return ReadStart(value, s); });
  options.Value("--initial-range", [&s](std::string_view value) {
    unsigned long thousandths;
    if (!ParseWholeNumber(value, thousandths, MAX_INITIAL_RANGE))
      return RangeRefusal("--initial-range", 0, MAX_INITIAL_RANGE, value) + " (thousandths)";
    s.InitialRange = thousandths / 1000.0;
    return std::string();
  });
  options.Whole("--top-level-games", 0, MAX_SETTLE_GAMES, s.SettleGames);
  options.Choice("--top-level", {"fit", "calibrated", "play"}, s.Top);
  return options;
}

// The scratch player file the levels start from; what went wrong, or empty.
std::string WriteStart(const TrainSettings& s) {
  const std::string player = data_paths::PlayerDataPath();
  if (s.DesignedStart && !WriteStartingDataFile(player)) return "cannot write the starting networks";
  std::error_code copyError;
  if (!s.StartFile.empty()) fs::copy_file(s.StartFile, player, fs::copy_options::overwrite_existing, copyError);
  if (copyError) return "cannot copy " + s.StartFile + ": " + copyError.message();
  return "";
}

int RunTrain(const std::vector<std::string_view>& args) {
  TrainSettings settings;
  const CommandOptions options = TrainOptions(settings);
  if (auto status = options.Parse(args)) return *status;
  if (settings.Out.empty()) return options.Fail("--out FILE is required");
  ScratchInstallation scratchDir("train", "", static_cast<unsigned>(settings.Seed));
  if (scratchDir.Failed()) return options.Fail("cannot create a scratch installation: " + scratchDir.Problem());
  if (std::string problem = WriteStart(settings); !problem.empty()) return options.Fail(problem);
  Trainer trainer(settings, scratchDir.Root().string());
  auto start = std::chrono::steady_clock::now();
  if (!trainer.TrainLevels()) return 1;
  ProgressBar::Clear();
  const std::string problem = CopyDurably(data_paths::PlayerDataPath(), settings.Out);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!problem.empty()) return options.Fail("cannot write " + settings.Out + ": " + problem);
  std::printf("wrote %s: %lu hands in %.0f s (%.0f hands per second)\n", settings.Out.c_str(), trainer.Hands(),
              seconds, seconds > 0 ? trainer.Hands() / seconds : 0.0);
  return 0;
}

}  // namespace

const LabCommand& TrainCommand() {
  static const LabCommand command{"train", "builds the default networks of the four levels by play", RunTrain,
                                  PrintHelp};
  return command;
}
