#include "player/computer_play.h"

#include <algorithm>

#include "neural/check.h"
#include "neural/net.h"
#include "player/computer_decider.h"
#include "player/master_player.h"

ComputerPlay::ComputerPlay(GinTable& table, uint32_t level, uint32_t seat)
    : Table(table), CurrentLevel(level), Seat(seat), DataFiles(table.View()) {}

ComputerPlay::~ComputerPlay() {
  if (LowNet && HighNet && !SavedOnClose) SaveNets(CurrentLevel);
  DeleteNets();
}

void ComputerPlay::DeleteNets() {
  DeleteNet(LowNet);
  DeleteNet(HighNet);
  LowNet = HighNet = CurrentNet = nullptr;
}

void ComputerPlay::Init() {
  BuildNets();
  if (ReplayPending) ReplayObservations();
}

void ComputerPlay::BuildNets() {
  NxNeuralBase::ConfigData config = PositionNetworkTopology();
  DeleteNets();
  LowNet = static_cast<NxTemporalDifferenceNet*>(CreateTempDiffNet(config, LOW_NET_PERSISTENCE));
  HighNet = static_cast<NxTemporalDifferenceNet*>(CreateTempDiffNet(config, HIGH_NET_PERSISTENCE));
  ApplyLevelRates(0);
  LowNet->SetAutoRates(true, AUTO_RATE_PERIOD);
  HighNet->SetAutoRates(true, AUTO_RATE_PERIOD);

  // The defaults stand in for what the player's file could not give. The
  // file is mended only where that costs no learning: a player file
  // without usable data for the top level is tolerated as it is, and a
  // damaged block never takes the other levels' blocks with it.
  bool loaded = LoadNets(CurrentLevel, false);
  if (!loaded) loaded = LoadNets(CurrentLevel, true) && DataFiles.MendPlayerFile(CurrentLevel);
  if (!loaded) FailDataLoad();
  SelectNet(NetChoiceValue);
}

void ComputerPlay::FailDataLoad() {
  Table.CloseWithoutSaving();
  NetsValid = false;
}

void ComputerPlay::ChangeLevel(uint32_t level, bool reset) {
  if (level != TOP_LEVEL) PlayAsMaster(false);
  if (level == CurrentLevel && !reset) return;
  if (!reset) SaveNets(CurrentLevel);
  CurrentLevel = level;
  bool loaded = LoadNets(level, reset);
  if (!loaded && !reset) loaded = LoadNets(level, true);
  if (!loaded) FailDataLoad();
}

void ComputerPlay::ReloadForConfiguration(uint32_t level) {
  if (level != TOP_LEVEL) PlayAsMaster(false);
  CurrentLevel = level;
  if (!LoadNets(CurrentLevel, false) && !LoadNets(CurrentLevel, true)) FailDataLoad();
}

bool ComputerPlay::PlaysAsMaster() const { return Master && Decider == Master.get(); }

const DecisionTimes* ComputerPlay::MasterTimes() const { return Master ? &Master->Master().Times() : nullptr; }

// The decider stays until this player goes: a dialog opened while Master
// thinks may switch it off, and the search on the stack must live on.
void ComputerPlay::PlayAsMaster(bool on) {
  if (!on || CurrentLevel != TOP_LEVEL) {
    if (PlaysAsMaster()) Decider = nullptr;
    return;
  }
  if (PlaysAsMaster()) return;
  if (!Master) {
    const uint64_t seed = static_cast<uint32_t>(Table.Deck().Random().Seed);
    Master = std::make_unique<MasterDecider>(MasterBudget{}, seed + 1);
    Master->TakeAdviceFrom(this);
  }
  // Switched on during a hand, it starts from what the table shows now;
  // before the first deal there is nothing to see.
  if (Table.Deck().IsLaidOut()) Master->StartHand(Table);
  Decider = Master.get();
}

void ComputerPlay::SelectNet(uint32_t choice) {
  NX_CHECK(choice == HIGH_NET || choice == LOW_NET);
  NetChoiceValue = choice;
  CurrentNet = choice == LOW_NET ? LowNet : HighNet;
}

void ComputerPlay::NoteCard(uint32_t owner, uint32_t card, uint32_t view) {
  if (owner > 3 || !IsCard(card)) return;
  static const double computerValues[4] = {0.2, 0.9, 0.0, -0.2};
  static const double humanValues[4] = {0.9, 0.2, 0.0, -0.2};
  if (view == 1 || view == 2)
    ComputerView[CellOf(card)] = computerValues[owner];
  else if (view == 0)
    HumanView[CellOf(card)] = humanValues[owner];
}

int32_t ComputerPlay::HandPoints(uint32_t player, uint32_t count) const {
  NxDeck& deck = Table.Deck();
  uint32_t held = std::min(count, deck.CardsInPile(PileOf(player)));
  int32_t points = 0;
  for (uint32_t i = 0; i < held; ++i) points += CardPoints[RankOf(deck.CardIndexAt(PileOf(player), i))];
  return points;
}

// The feature scalings are computed in extended precision, then stored.
double ComputerPlay::HandValueFeature(int32_t points) {
  return static_cast<double>(points * (2.0L / 275.0L) + 0.1L);
}

double ComputerPlay::ProgressFeature(uint32_t count) {
  return static_cast<double>(count * (1.0L / 30.0L) + 0.1L);
}

double ComputerPlay::KnockLimitFeature(uint32_t limit) { return static_cast<double>(limit * 0.08L + 0.1L); }

bool ComputerPlay::IsCellValue(uint32_t cell, double value) {
  auto within = [value](double low, double high) { return value >= low && value <= high; };
  switch (cell) {
    case PROGRESS:
      return within(0.0, ProgressFeature(MAX_ROUNDS));
    case DREW_DISCARD:
      return within(0.0, 0.9);
    case KNOCK_LIMIT:
      return within(0.0, KnockLimitFeature(STANDARD_KNOCK_LIMIT));
    case HAND_VALUE:
      return within(0.0, HandValueFeature(11 * 10));
    default:
      return within(-0.2, 0.9);
  }
}

bool ComputerPlay::IsPosition(const Vector& position) {
  for (uint32_t cell = 0; cell < POSITION_CELLS; ++cell)
    if (!IsCellValue(cell, position[cell])) return false;
  return true;
}

void ComputerPlay::EnsureObservationStore() {
  if (!ObservationStore) ObservationStore = std::make_unique<Vector[]>(MAX_OBSERVATIONS);
}

void ComputerPlay::StartHand() {
  EnsureObservationStore();
  RoundCount = ObservationCount = OwnPasses = HumanPasses = 0;
  ComputerView.fill(0.0);
  NxDeck& deck = Table.Deck();
  uint32_t dealt = std::min(10u, deck.CardsInPile(OwnPile()));
  for (uint32_t i = 0; i < dealt; ++i) NoteCard(COMPUTER_PILE, deck.CardIndexAt(OwnPile(), i), COMPUTER_VECTOR);
  // Only a traditional deal (or any Oklahoma hand) turns up a card.
  int32_t upcard = deck.TopIndex(DISCARD_PILE);
  if (upcard >= 0)
    NoteCard(DISCARD_PILE, deck.CardIndexAt(DISCARD_PILE, upcard), COMPUTER_VECTOR);
  else
    PlannedDiscard = NO_PLAN;
  ComputerView[PROGRESS] = 0.1;
  ComputerView[DREW_DISCARD] = 0.1;
  ComputerView[KNOCK_LIMIT] = KnockLimitFeature(Table.State().KnockLimit);
  ComputerView[HAND_VALUE] = HandValueFeature(HandPoints(OwnPile(), 10));
  if (CurrentNet) CurrentNet->GetOutput(ComputerView.data(), true, true);
  RecordObservation();
  if (Decider) Decider->StartHand(Table);
}

void ComputerPlay::BuildHumanView(uint32_t winner, uint32_t previousDealer) {
  for (uint32_t i = 0; i < POSITION_CELLS; ++i) HumanView[i] = ComputerView[i] == -0.2 ? -0.2 : 0.0;
  NxDeck& deck = Table.Deck();
  uint32_t held = std::min(10u, deck.CardsInPile(OtherPile()));
  for (uint32_t i = 0; i < held; ++i) NoteCard(HUMAN_PILE, deck.CardIndexAt(OtherPile(), i), HUMAN_VECTOR);
  uint32_t rounds = RoundCount;
  if (winner == Seat) {
    // The computer's win ended the round before the human's last turn.
    if (previousDealer == OtherSeat(Seat) && rounds > 0) --rounds;
    LastDrawFeature = 0.1;
  }
  HumanView[PROGRESS] = ProgressFeature(rounds);
  HumanView[DREW_DISCARD] = LastDrawFeature;
  HumanView[KNOCK_LIMIT] = KnockLimitFeature(Table.State().KnockLimit);
  HumanView[HAND_VALUE] = HandValueFeature(HandPoints(OtherPile(), 10));
}

// Each suit's 13 card cells move one row up, cyclically; features stay.
void ComputerPlay::RotateSuits(bool observations) {
  auto rotate = [](Vector& v) {
    double first[13];
    std::copy(v.begin(), v.begin() + 13, first);
    for (uint32_t row = 0; row < 3; ++row)
      std::copy(v.begin() + (row + 1) * 14, v.begin() + (row + 1) * 14 + 13, v.begin() + row * 14);
    std::copy(first, first + 13, v.begin() + 3 * 14);
  };
  if (!observations) {
    rotate(HumanView);
    return;
  }
  if (!ObservationStore) return;
  for (uint32_t i = 0; i < std::min(ObservationCount, MAX_OBSERVATIONS); ++i) rotate(ObservationStore[i]);
}
