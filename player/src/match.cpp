#include "player/match.h"

// Passes the flow's calls on to the computer player; without learning the
// end-of-hand training is left out, so the weights never change.
class Match::Gate : public ComputerOpponent {
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

Match::Match(const MatchOptions& options, const SeatFactory& makeHuman)
    : Options(options), Deck(nullptr, 4, FIRST_CARD_BACK_ID, TRect{0, 0, 576, 384}, TSize{69, 96}),
      Record(options.Target), Flow(State, Deck, Record, View) {
  View.Watch(&State);
  State.Variation = options.Variation;
  State.GameTarget = options.Target;
  Flow.Settings.ElevenTenDeal = options.ElevenTenDeal;
  Flow.SeedOwnRandom(options.Seed % NxRandomGenerator::MODULUS);
  Deck.Random().Seed = (options.Seed + 1) % NxRandomGenerator::MODULUS;
  Deck.Random().InitTable();
  TheComputer = std::make_unique<ComputerPlay>(Flow, options.Level);
  TheComputer->Init();
  TheComputer->SelectNet(NetworkChoice(options.Variation, STANDARD_KNOCK_LIMIT));
  HumanSeat = makeHuman(Flow);
  TheGate = std::make_unique<Gate>(*TheComputer, options.Learn, Flow, *HumanSeat);
  Flow.SetOpponent(TheGate.get());
}

Match::~Match() { Flow.SetOpponent(nullptr); }

void Match::RecordHand(MatchStats& stats) {
  ++stats.Hands;
  if (State.StockExhausted) {
    ++stats.Ties;
    return;
  }
  uint32_t winner = State.Dealer;
  ++stats.HandsWon[winner];
  stats.Points[winner] += static_cast<uint64_t>(State.Points);
  if (State.Gin) ++stats.Gins[winner];
  if (State.Undercut) ++stats.Undercuts[winner];
}

// Two players that keep taking each other's discards never run the stock
// down; such a game is abandoned after MAX_HAND_STEPS steps in one hand.
bool Match::PlayGame(MatchStats& stats) {
  ProblemText.clear();
  View.Forget();
  // Without networks the computer player asks the table to close, and the
  // flow then deals nothing: there is no game to play on.
  if (!Flow.NewGame(false, false)) {
    ProblemText = "the game did not start (the networks did not load)";
    return false;
  }
  uint32_t stepsInHand = 0;
  for (uint64_t step = 0; step < 10000000; ++step) {
    if (!State.HandOver && ++stepsInHand > MAX_HAND_STEPS) {
      ++stats.Abandoned;
      LastWinner = GAME_TIED;
      LastTotal[0] = LastTotal[1] = 0;
      return true;
    }
    if (State.HandOver) stepsInHand = 0;
    if (State.Play == HumanTake || State.Play == HumanDiscard) {
      if (!HumanSeat->Move(Flow)) {
        ProblemText = std::string("the flow refused a move of ") + HumanSeat->Name();
        return false;
      }
      continue;
    }
    if (State.Play == Learning && TheGate->LearningDone) {
      if (Record.GameOver) {
        FinalTotals totals = Record.ComputeFinalTotals();
        LastWinner = totals.Result;
        LastTotal[0] = totals.Total[0];
        LastTotal[1] = totals.Total[1];
        ++stats.Games;
        ++stats.GamesWon[totals.Result];
        return true;
      }
      Flow.NextHand();
      continue;
    }
    Flow.IdleStep();
    if (TheGate->HandEnded) {
      TheGate->HandEnded = false;
      RecordHand(stats);
    }
  }
  ProblemText = "the game did not end";
  return false;
}
