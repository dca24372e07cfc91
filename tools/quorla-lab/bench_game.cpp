// quorla-lab bench game: plays hands headless, the computer at one level
// against the simple strategy, with the full learning cycle after each
// hand, and reports where the time goes.
#include "bench_game.h"
#include "numbers.h"
#include "network_files.h"
#include "scratch/scratch_installation.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
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

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorla-lab bench game: %s (see quorla-lab bench --help)\n", message.c_str());
  return 2;
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
  unsigned long hands = 2000, level = 0, seed = 1;
  std::string networks = data_paths::ProgramDirectory() + data_paths::DEFAULT_DATA_FILE;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      PrintBenchGameHelp();
      return 0;
    }
    if (arg != "--networks" && arg != "--hands" && arg != "--level" && arg != "--seed")
      return Fail("unknown option '" + std::string(arg) + "'");
    if (i + 1 >= args.size()) return Fail("missing value after " + std::string(arg));
    std::string_view value = args[++i];
    if (arg == "--networks") {
      networks = value == "fresh" ? "" : std::string(value);
      continue;
    }
    if (arg == "--hands" && !(ParseWholeNumber(value, hands, MAX_HANDS) && hands > 0))
      return Fail(RangeRefusal(arg, 1, MAX_HANDS, value));
    if (arg == "--level" && !ParseWholeNumber(value, level, 3)) return Fail(RangeRefusal(arg, 0, 3, value));
    if (arg == "--seed" && !ParseWholeNumber(value, seed, MAX_SEED)) return Fail(RangeRefusal(arg, 0, MAX_SEED, value));
  }
  if (!networks.empty() && !IsNetworkDataFile(networks))
    return Fail("no network data file of four level blocks at '" + networks + "'");
  if (!networks.empty()) {
    const std::string problem = network_data::CheckLevelBlock(networks, static_cast<uint32_t>(level));
    if (!problem.empty()) return Fail(problem);
  }
  ScratchInstallation scratch("bench", networks, static_cast<unsigned>(seed));
  if (scratch.Failed()) return Fail("cannot create a scratch installation: " + scratch.Problem());

  HeadlessPresentation view;
  TableObjects table(view, nullptr);
  GameState& state = table.State;
  GameFlow& flow = table.Flow;
  view.Watch(&state);
  state.Variation = STANDARD_GIN;
  table.Seed(static_cast<int32_t>(seed));
  double humanTime = 0;
  unsigned long played = 0;
  double seconds = 0;
  double meldSearch = 0;
  double decisions = 0, learning = 0;
  {
    table.SeatComputer(static_cast<uint32_t>(level));
    ComputerPlay& computer = *table.Computer;
    computer.SelectNet(HIGH_NET);
    computer.SetMeldSearchTiming(true);
    TimedOpponent timed(computer);
    flow.SetOpponent(&timed);
    SimplePlayer human;
    const bool progress = isatty(STDERR_FILENO);
    auto start = Clock::now();
    if (!flow.NewGame(false, false)) return Fail("the game did not start: the networks did not load");
    while (timed.Hands < hands) {
      if (state.Play == HumanTake || state.Play == HumanDiscard) {
        auto moveStart = Clock::now();
        bool moved = human.Move(flow);
        humanTime += Since(moveStart);
        if (!moved) return Fail("the flow refused a move of the simple strategy");
      } else if (state.Play == Learning && timed.LearningDone) {
        timed.LearningDone = false;
        view.Forget();
        if (table.Record.GameOver)
          flow.NewGame(false, false);
        else
          flow.NextHand();
        if (progress && timed.Hands % 100 == 0)
          std::fprintf(stderr, "\r%lu of %lu hands", timed.Hands, hands);
      } else {
        flow.IdleStep();
      }
    }
    seconds = Since(start);
    played = timed.Hands;
    meldSearch = computer.MeldSearchSeconds();
    decisions = timed.Decisions;
    learning = timed.Learning;
    if (progress) std::fprintf(stderr, "\r%*s\r", 40, "");
    flow.SetOpponent(nullptr);
  }

  auto share = [seconds](double part) { return seconds > 0 ? 100.0 * part / seconds : 0.0; };
  std::printf("level: %lu (shown as %lu)\n", level, level + 1);
  std::printf("networks: %s\n", networks.empty() ? "fresh" : networks.c_str());
  std::printf("hands: %lu in %.3f s\n", played, seconds);
  std::printf("hands per second: %.0f\n", seconds > 0 ? played / seconds : 0.0);
  std::printf("computer decisions: %5.1f %%\n", share(decisions));
  std::printf("  of which meld search: %5.1f %%\n", share(meldSearch));
  std::printf("learning: %15.1f %%\n", share(learning));
  std::printf("human seat (simple): %5.1f %%\n", share(humanTime));
  std::printf("flow and scoring: %8.1f %%\n", share(seconds - decisions - learning - humanTime));
  return 0;
}
