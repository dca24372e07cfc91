#include "player/arena_match.h"

// Passes the flow's calls on to the computer player; without learning the
// end-of-hand training is left out, so the weights never change.
class ArenaMatch::Gate : public ComputerOpponent {
 public:
  Gate(ComputerPlay& computer, bool learn, GameFlow& flow, SeatPlayer& human)
      : Computer(computer), Learn(learn), Flow(flow), Human(human) {}

  void SelectNet(uint32_t choice) override { Computer.SelectNet(choice); }
  void StartHand() override {
    LearningDone = false;
    Computer.StartHand();
    Human.StartHand(Flow);
  }
  bool TakeDecision(uint32_t player) override { return Computer.TakeDecision(player); }
  void DiscardDecision(uint32_t player) override { Computer.DiscardDecision(player); }
  void NoteCard(uint32_t owner, uint32_t card, uint32_t view) override { Computer.NoteCard(owner, card, view); }
  void CountRound() override { Computer.CountRound(); }
  void HandOutcome(double outcome) override {
    HandEnded = true;
    Computer.WatchOutcome(outcome);
    if (Learn) Computer.HandOutcome(outcome);
  }
  void BuildHumanView(uint32_t winner, uint32_t previousDealer) override {
    if (Learn) Computer.BuildHumanView(winner, previousDealer);
  }
  bool LearnStep(PlayState state, double computerOutcome, double humanOutcome) override {
    bool stepped = Learn && Computer.LearnStep(state, computerOutcome, humanOutcome);
    if (!stepped) LearningDone = true;
    return stepped;
  }

  ComputerPlay& Computer;
  bool Learn;
  GameFlow& Flow;
  SeatPlayer& Human;
  bool HandEnded = false;
  bool LearningDone = false;
};

ArenaMatch::ArenaMatch(const MatchOptions& options, const SeatFactory& makeHuman)
    : Options(options), Table(View, options.Target) {
  View.Watch(&Table.State());
  Table.Flow.SetVariation(options.Variation);
  Table.Flow.Settings.ElevenTenDeal = options.ElevenTenDeal;
  // The deck's generator runs one seed ahead of the game's own; the
  // recorded arena results and the default networks depend on exactly
  // these seeds, so they are set here rather than through Table.Seed.
  Table.Flow.SeedOwnRandom(options.Seed % NxRandomGenerator::MODULUS);
  Table.Deck.Random().Seed = (options.Seed + 1) % NxRandomGenerator::MODULUS;
  Table.Deck.Random().InitTable();
  // A failed load marks the table to close; PlayGame then reports it.
  Table.SeatComputer(options.Level);
  Table.Computer->SelectNet(NetworkChoice(options.Variation, STANDARD_KNOCK_LIMIT));
  HumanSeat = makeHuman(Table.Flow);
  TheGate = std::make_unique<Gate>(*Table.Computer, options.Learn, Table.Flow, *HumanSeat);
  Table.Flow.SetOpponent(TheGate.get());
}

ArenaMatch::~ArenaMatch() { Table.Flow.SetOpponent(nullptr); }

void ArenaMatch::RecordHand(MatchStats& stats) {
  const GameState& state = Table.State();
  ++stats.Hands;
  if (state.StockExhausted) {
    ++stats.Ties;
    return;
  }
  uint32_t winner = state.Dealer;
  ++stats.HandsWon[winner];
  stats.Points[winner] += static_cast<uint64_t>(state.Points);
  if (state.Gin) ++stats.Gins[winner];
  if (state.Undercut) ++stats.Undercuts[winner];
}

// Two players that keep taking each other's discards never run the stock
// down; such a game is abandoned after MAX_HAND_STEPS steps in one hand.
bool ArenaMatch::PlayGame(MatchStats& stats) {
  const GameState& state = Table.State();
  GameFlow& flow = Table.Flow;
  ProblemText.clear();
  View.Forget();
  // Without networks the computer player asks the table to close, and the
  // flow then deals nothing: there is no game to play on.
  if (!flow.NewGame(false, false)) {
    ProblemText = "the game did not start (the networks did not load)";
    return false;
  }
  uint32_t stepsInHand = 0;
  for (uint64_t step = 0; step < 10000000; ++step) {
    if (!state.HandOver && ++stepsInHand > MAX_HAND_STEPS) {
      ++stats.Abandoned;
      LastWinner = GAME_TIED;
      LastTotal[0] = LastTotal[1] = 0;
      return true;
    }
    if (state.HandOver) stepsInHand = 0;
    if (state.Play == HumanTake || state.Play == HumanDiscard) {
      if (!HumanSeat->Move(flow)) {
        ProblemText = std::string("the flow refused a move of ") + HumanSeat->Name();
        return false;
      }
      continue;
    }
    if (state.Play == Learning && TheGate->LearningDone) {
      if (Table.Record.GameOver) {
        FinalTotals totals = Table.Record.ComputeFinalTotals();
        LastWinner = totals.Result;
        LastTotal[0] = totals.Total[0];
        LastTotal[1] = totals.Total[1];
        ++stats.Games;
        ++stats.GamesWon[totals.Result];
        return true;
      }
      flow.NextHand();
      continue;
    }
    flow.IdleStep();
    if (TheGate->HandEnded) {
      TheGate->HandEnded = false;
      RecordHand(stats);
    }
  }
  ProblemText = "the game did not end";
  return false;
}
