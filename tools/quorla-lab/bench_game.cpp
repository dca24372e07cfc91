// quorla-lab bench game: plays hands headless, the computer at one level
// against the simple strategy, with the full learning cycle after each
// hand, and reports where the time goes.
#include "bench_game.h"
#include "network_files.h"
#include "numbers.h"
#include "options.h"
#include "progress_bar.h"
#include "scratch/scratch_installation.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "game/game_flow.h"
#include "game/headless_presentation.h"
#include "player/computer_play.h"
#include "player/data_paths.h"
#include "player/network_data_check.h"
#include "player/seat_player.h"
#include "player/table_objects.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Passes the flow's calls on to the computer player, timing them.
class TimedOpponent : public ComputerOpponent {
 public:
  explicit TimedOpponent(ComputerPlay& computer) : Computer(computer) {}

  void SelectNet(uint32_t choice) override { Computer.SelectNet(choice); }
  void StartHand() override { Timed(Decisions, [&] { Computer.StartHand(); }); }
  bool TakeDecision(uint32_t player) override {
    bool took = false;
    Timed(Decisions, [&] { took = Computer.TakeDecision(player); });
    return took;
  }
  void DiscardDecision(uint32_t player) override { Timed(Decisions, [&] { Computer.DiscardDecision(player); }); }
  void NoteCard(uint32_t owner, uint32_t card, uint32_t view) override { Computer.NoteCard(owner, card, view); }
  void CountRound() override { Computer.CountRound(); }
  void HandOutcome(double outcome) override {
    ++Hands;
    Timed(Learning, [&] { Computer.HandOutcome(outcome); });
  }
  void BuildHumanView(uint32_t winner, uint32_t previousDealer) override {
    Timed(Learning, [&] { Computer.BuildHumanView(winner, previousDealer); });
  }
  bool LearnStep(PlayState state, double computerOutcome, double humanOutcome) override {
    bool stepped = false;
    Timed(Learning, [&] { stepped = Computer.LearnStep(state, computerOutcome, humanOutcome); });
    if (!stepped) LearningDone = true;
    return stepped;
  }

  ComputerPlay& Computer;
  double Decisions = 0;
  double Learning = 0;
  unsigned long Hands = 0;
  bool LearningDone = false;

 private:
  template <class Call>
  void Timed(double& total, Call call) {
    auto start = Clock::now();
    call();
    total += Since(start);
  }
};

constexpr unsigned long MAX_HANDS = 100000000;

struct BenchSettings {
  unsigned long Hands = 2000;
  unsigned long Level = 0;
  unsigned long Seed = 1;
  std::string Networks = data_paths::ProgramDirectory() + data_paths::DEFAULT_DATA_FILE;  // empty: fresh
};

CommandOptions BenchOptions(BenchSettings& s) {
  CommandOptions options("bench game", PrintBenchGameHelp, "bench");
  options.Value("--networks", [&s](std::string_view value) {
    s.Networks = value == "fresh" ? "" : std::string(value);
    return std::string();
  });
  options.Whole("--hands", 1, MAX_HANDS, s.Hands);
  options.Whole("--level", 0, 3, s.Level);
  options.Whole("--seed", 0, MAX_SEED, s.Seed);
  return options;
}

// Why the networks cannot be played with, or empty.
std::string NetworksProblem(const BenchSettings& s) {
  if (s.Networks.empty()) return "";
  if (!IsNetworkDataFile(s.Networks)) return "no network data file of four level blocks at '" + s.Networks + "'";
  return network_data::CheckLevelBlock(s.Networks, static_cast<uint32_t>(s.Level));
}

struct BenchTimes {
  unsigned long Hands = 0;
  double Seconds = 0;
  double Decisions = 0;
  double Learning = 0;
  double MeldSearch = 0;
  double Human = 0;
};

// One step of the game: the human seat's move, the next hand once the
// learning is done, or the flow's own. False when the flow refuses the move.
bool Step(TableObjects& table, HeadlessPresentation& view, TimedOpponent& timed, SimplePlayer& human,
          double& humanTime) {
  const PlayState play = table.State().Play;
  if (play == HumanTake || play == HumanDiscard) {
    auto moveStart = Clock::now();
    const bool moved = human.Move(table.Flow);
    humanTime += Since(moveStart);
    return moved;
  }
  if (play == Learning && timed.LearningDone) {
    timed.LearningDone = false;
    view.Forget();
    if (table.Record.GameOver)
      table.Flow.NewGame(false, false);
    else
      table.Flow.NextHand();
  } else {
    table.Flow.IdleStep();
  }
  return true;
}

// What stopped the hands, or empty when all were played.
std::string PlayHands(const BenchSettings& s, BenchTimes& times) {
  HeadlessPresentation view;
  TableObjects table(view);
  view.Watch(&table.State());
  table.Flow.SetVariation(STANDARD_GIN);
  table.Seed(static_cast<int32_t>(s.Seed));
  table.SeatComputer(static_cast<uint32_t>(s.Level));
  ComputerPlay& computer = *table.Computer;
  computer.SelectNet(HIGH_NET);
  computer.SetMeldSearchTiming(true);
  TimedOpponent timed(computer);
  table.Flow.SetOpponent(&timed);
  SimplePlayer human;
  ProgressBar progress(s.Hands, "hands");
  auto start = Clock::now();
  if (!table.Flow.NewGame(false, false)) return "the game did not start: the networks did not load";
  while (timed.Hands < s.Hands) {
    if (!Step(table, view, timed, human, times.Human)) return "the flow refused a move of the simple strategy";
    progress.Show(timed.Hands);
  }
  times = {timed.Hands, Since(start), timed.Decisions, timed.Learning, computer.MeldSearchSeconds(), times.Human};
  ProgressBar::Clear();
  table.Flow.SetOpponent(nullptr);
  return "";
}

void PrintBenchReport(const BenchSettings& s, const BenchTimes& t) {
  auto share = [&t](double part) { return t.Seconds > 0 ? 100.0 * part / t.Seconds : 0.0; };
  std::printf("level: %lu (shown as %lu)\n", s.Level, s.Level + 1);
  std::printf("networks: %s\n", s.Networks.empty() ? "fresh" : s.Networks.c_str());
  std::printf("hands: %lu in %.3f s\n", t.Hands, t.Seconds);
  std::printf("hands per second: %.0f\n", t.Seconds > 0 ? t.Hands / t.Seconds : 0.0);
  std::printf("computer decisions: %5.1f %%\n", share(t.Decisions));
  std::printf("  of which meld search: %5.1f %%\n", share(t.MeldSearch));
  std::printf("learning: %15.1f %%\n", share(t.Learning));
  std::printf("human seat (simple): %5.1f %%\n", share(t.Human));
  std::printf("flow and scoring: %8.1f %%\n", share(t.Seconds - t.Decisions - t.Learning - t.Human));
}

}  // namespace

void PrintBenchGameHelp() {
  std::printf(
      "usage: quorla-lab bench game [--hands N] [--level L] [--seed S] [--networks FILE|fresh]\n"
      "\n"
      "Plays N hands (1..%lu, default 2000) through the game flow: the computer at internal\n"
      "level L (0..3, default 0) against the simple strategy in the human seat,\n"
      "with the full learning cycle after every hand. The networks are those of\n"
      "network data file FILE (default: QLDEFLT.QLF next to the program, the ones\n"
      "a new player starts with), or freshly initialised ones (fresh), in a\n"
      "scratch installation; S (0..%lu, default 1) seeds the deal. Reports hands per second and\n"
      "the share of time in computer decisions, learning, the meld search of the\n"
      "computer's decisions (part of the decisions) and the human seat.\n",
      MAX_HANDS, MAX_SEED);
}

int RunBenchGame(const std::vector<std::string_view>& args) {
  BenchSettings settings;
  const CommandOptions options = BenchOptions(settings);
  if (auto status = options.Parse(args)) return *status;
  if (std::string problem = NetworksProblem(settings); !problem.empty()) return options.Fail(problem);
  ScratchInstallation scratch("bench", settings.Networks, static_cast<unsigned>(settings.Seed));
  if (scratch.Failed()) return options.Fail("cannot create a scratch installation: " + scratch.Problem());
  BenchTimes times;
  if (std::string problem = PlayHands(settings, times); !problem.empty()) return options.Fail(problem);
  PrintBenchReport(settings, times);
  return 0;
}
