#include <chrono>
#include <cmath>

#include "game/hand_score.h"
#include "game/score_iterators.h"
#include "game/table_geometry.h"
#include "neural/net.h"
#include "player/computer_decider.h"
#include "player/computer_play.h"
#include "player/trial_watcher.h"

namespace {

int32_t Points(uint32_t card) { return IsCard(card) ? CardPoints[RankOf(card)] : 0; }

// Network values are hand outcomes scaled to about 0..1, so these margins
// are small. The upcard is taken only when the position with it looks
// better than the one without by this much (at levels 3 and 4, more for a
// costly card): a take tells the other player what the hand collects.
constexpr double UPCARD_MARGIN = 0.008;
constexpr double UPCARD_MARGIN_PER_POINT = 0.002;
// The top level's own judgement beside the network's. Within knocking
// range the lower deadwood wins outright; reaching the range is worth the
// upcard margin again, and a taken card's points break ties between
// equal deadwoods a little.
constexpr double KNOCK_RANGE_REACHED = 0.008;
constexpr double TIE_BREAK_PER_POINT = 1.0 / 499.0;
// Low cards (up to the square root of the knock limit in points) are cheap
// to keep: taking one gains, throwing one loses, this much per point.
constexpr double LOW_CARD_PER_POINT = 0.002;
// A high card with no partner in the hand: throwing it gains, taking one
// loses, a share of its points' worth.
constexpr double LONELY_SHARE = 0.3;
constexpr double LONELY_PER_POINT = 0.004;

// Whether `card` is among the unmatched cards of `list`, and whether one of
// them could meld with it: another card of its rank, or its neighbour in
// its suit.
struct Lonely {
  bool Unmatched = false;
  bool Partner = false;
};

Lonely Examine(uint32_t card, const uint32_t* list) {
  Lonely result;
  for (uint32_t k = 0; k < 10; ++k) {
    uint32_t e = list[k];
    if (e >= NUM_CARDS) continue;
    if (e == card) result.Unmatched = true;
    if (e != card && RankOf(e) == RankOf(card)) result.Partner = true;
    if (e == card + 1 && RankOf(e) != 0) result.Partner = true;
    if (e + 1 == card && RankOf(e) != 12) result.Partner = true;
  }
  return result;
}

}  // namespace

double ComputerPlay::Evaluate() {
  if (Watcher) Watcher->Trial(ComputerView.data());
  return CurrentNet->GetOutput(ComputerView.data(), false, false)[0];
}

int32_t ComputerPlay::DeadwoodReport(const unsigned* cards, uint32_t* list) {
  auto start = TimeMeldSearch ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point();
  NxHandScore score(cards, 10);
  NxScoreUnmatchedIterator unmatched(score);
  uint32_t n = 0;
  while (unmatched.HasMore() && n < 10) list[n++] = unmatched.Next();
  while (n < 10) list[n++] = NoCard;
  if (TimeMeldSearch)
    MeldSearchTime += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return score.BestDeadwood();
}

bool ComputerPlay::TakeDecision(uint32_t player) {
  if (player != Seat || !CurrentNet) return false;
  const GameState& state = Table.State();
  const uint64_t hand = Table.HandSerial();
  switch (state.Offer) {
    case OFFER_TO_FIRST_PLAYER:
    case OFFER_TO_DEALER: {
      const bool take = TakesUpcard(player);
      if (Table.HandSerial() != hand) return false;
      if (!take) {
        Table.PassOffer();
        return false;
      }
      Table.EndOffer();
      TakeTopDiscard();
      return true;
    }
    case FIRST_PLAYER_TAKES_STOCK:
      Table.EndOffer();
      PlannedDiscard = NO_PLAN;
      ComputerView[DREW_DISCARD] = FROM_STOCK;
      DrawStockCard();
      return true;
    default: {
      const bool take = TakesUpcard(player);
      if (Table.HandSerial() != hand) return false;
      if (take)
        TakeTopDiscard();
      else
        DrawStockCard();
      return true;
    }
  }
}

bool ComputerPlay::WantsUpcard(uint32_t player) {
  PlannedDiscard = NO_PLAN;
  NxDeck& deck = Table.Deck();
  int32_t top = deck.TopIndex(DISCARD_PILE);
  if (player != Seat || !CurrentNet || top < 0 || deck.CardsInPile(OwnPile()) < 10) return false;
  const uint32_t upcard = deck.CardIndexAt(DISCARD_PILE, top);
  uint32_t limit = Table.State().KnockLimit;
  double threshold = CurrentLevel >= 2 ? UPCARD_MARGIN + UPCARD_MARGIN_PER_POINT * Points(upcard) : UPCARD_MARGIN;

  unsigned cards[11];
  uint32_t unmatchedBefore[10];
  std::fill(unmatchedBefore, unmatchedBefore + 10, NoCard);
  for (uint32_t i = 0; i < 10; ++i) cards[i] = deck.CardIndexAt(OwnPile(), i);
  cards[10] = upcard;
  if (CurrentLevel == TOP_LEVEL) DeadwoodReport(cards, unmatchedBefore);

  int32_t handValue = HandPoints(OwnPile(), 10);
  ComputerView[PROGRESS] = ProgressFeature(ObservationCount);
  ComputerView[DREW_DISCARD] = FROM_STOCK;
  ComputerView[HAND_VALUE] = HandValueFeature(handValue);
  if (Watcher) Watcher->DecisionStarts();
  double baseline = Evaluate();
  BestCandidate best{baseline, static_cast<int32_t>(limit) + 1};

  ComputerView[CellOf(upcard)] = CELL_HELD;
  ComputerView[DREW_DISCARD] = FROM_DISCARD_PILE;
  uint32_t bestIndex = RateDiscards(cards, 10, upcard, handValue + Points(upcard), true, best, unmatchedBefore);
  if (best.Value - baseline > threshold) {
    PlannedDiscard = bestIndex;
    return true;
  }
  ComputerView[CellOf(upcard)] = CELL_GONE;
  ComputerView[DREW_DISCARD] = FROM_STOCK;
  return false;
}

bool ComputerPlay::TakesUpcard(uint32_t player) {
  if (!Decider) return WantsUpcard(player);
  PlannedDiscard = NO_PLAN;
  NxDeck& deck = Table.Deck();
  int32_t top = deck.TopIndex(DISCARD_PILE);
  if (player != Seat || !CurrentNet || top < 0 || deck.CardsInPile(OwnPile()) < 10) return false;
  uint32_t upcard = deck.CardIndexAt(DISCARD_PILE, top);
  ComputerView[PROGRESS] = ProgressFeature(ObservationCount);
  ComputerView[HAND_VALUE] = HandValueFeature(HandPoints(OwnPile(), 10));
  const bool take = Decider->TakesUpcard(Table);
  NoteUpcardChoice(upcard, take);
  return take;
}

void ComputerPlay::NoteUpcardChoice(uint32_t upcard, bool take) {
  // A discard planned with a take the seat did not make is no plan at all.
  if (!take) PlannedDiscard = NO_PLAN;
  ComputerView[CellOf(upcard)] = take ? CELL_HELD : CELL_GONE;
  ComputerView[DREW_DISCARD] = take ? FROM_DISCARD_PILE : FROM_STOCK;
}

bool ComputerPlay::RateCandidate(DiscardCandidate candidate, BestCandidate& best, uint32_t knockLimit) const {
  const uint32_t taken = candidate.Taken, dropped = candidate.Dropped;
  double value = candidate.Value;
  if (CurrentLevel == TOP_LEVEL) {
    const int32_t limit = static_cast<int32_t>(knockLimit);
    const int32_t deadwood = candidate.Deadwood;
    int32_t takenPoints = (dropped == taken || taken >= NUM_CARDS) ? 0 : Points(taken);
    // Within knocking range only the deadwood counts.
    if (deadwood <= limit || best.Deadwood <= limit) {
      if (best.Deadwood <= deadwood) return false;
      if (takenPoints != 0) best.Value += takenPoints * TIE_BREAK_PER_POINT;
      if (best.Deadwood > limit) best.Value += KNOCK_RANGE_REACHED;
      best.Deadwood = deadwood;
      return true;
    }
    int32_t droppedPoints = (dropped == taken || dropped >= NUM_CARDS) ? 0 : Points(dropped);
    int32_t lowCard = static_cast<int32_t>(std::sqrt(static_cast<double>(limit)) + 0.001);
    if (takenPoints != 0) {
      if (takenPoints <= lowCard) value += LOW_CARD_PER_POINT * takenPoints;
      if (droppedPoints <= lowCard) value -= LOW_CARD_PER_POINT * droppedPoints;
      Lonely takenAlone = Examine(taken, candidate.ReportWithTaken);
      Lonely droppedAlone = Examine(dropped, candidate.ReportBefore);
      if ((!candidate.Taking || takenPoints <= lowCard) && droppedAlone.Unmatched && !droppedAlone.Partner &&
          droppedPoints > lowCard)
        value += droppedPoints * LONELY_SHARE * LONELY_PER_POINT;
      if (takenAlone.Unmatched && !takenAlone.Partner && takenPoints > lowCard)
        value -= takenPoints * LONELY_SHARE * LONELY_PER_POINT;
    }
  }
  if (candidate.First || value > best.Value) {
    best.Value = value;
    return true;
  }
  return false;
}

uint32_t ComputerPlay::ChooseDiscard() {
  if (PlannedDiscard <= 10) return PlannedDiscard;
  NxDeck& deck = Table.Deck();
  unsigned cards[11];
  uint32_t unmatchedBefore[10];
  std::fill(unmatchedBefore, unmatchedBefore + 10, NoCard);
  for (uint32_t i = 0; i < 11; ++i) cards[i] = deck.CardIndexAt(OwnPile(), i);
  if (CurrentLevel == TOP_LEVEL) DeadwoodReport(cards, unmatchedBefore);
  BestCandidate best{0.0, static_cast<int32_t>(Table.State().KnockLimit) + 1};
  if (Watcher) Watcher->DecisionStarts();
  return RateDiscards(cards, 11, cards[10], HandPoints(OwnPile(), 11), false, best, unmatchedBefore);
}

// Tries each of the first `count` cards as the discard: the position with
// that card thrown, its value by the network (and at the top level the
// deadwood with `taken` in its place), rated against the best so far.
uint32_t ComputerPlay::RateDiscards(unsigned* cards, uint32_t count, uint32_t taken, int32_t handValue, bool taking,
                                    BestCandidate& best, const uint32_t* reportBefore) {
  uint32_t reportWithTaken[10];
  std::fill(reportWithTaken, reportWithTaken + 10, NoCard);
  uint32_t limit = Table.State().KnockLimit;
  uint32_t bestIndex = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t c = cards[i];
    ComputerView[CellOf(c)] = CELL_GONE;
    ComputerView[HAND_VALUE] = HandValueFeature(handValue - Points(c));
    int32_t r = 0;
    if (CurrentLevel == TOP_LEVEL) {
      cards[i] = taken;
      r = DeadwoodReport(cards, reportWithTaken);
      cards[i] = c;
    }
    double value = Evaluate();
    if (RateCandidate({value, r, taken, c, i == 0, taking, reportWithTaken, reportBefore}, best, limit)) bestIndex = i;
    ComputerView[CellOf(c)] = CELL_HELD;
  }
  return bestIndex;
}

void ComputerPlay::DiscardDecision(uint32_t player) {
  const GameState& state = Table.State();
  NxDeck& deck = Table.Deck();
  if (player != Seat || !CurrentNet || state.Offer < FIRST_PLAYER_TAKES_STOCK) return;
  if (deck.CardsInPile(OwnPile()) < 11) return;
  ComputerDecider::Discard decided;
  const uint64_t hand = Table.HandSerial();
  if (Decider) decided = Decider->ChooseDiscard(Table);
  if (Table.HandSerial() != hand) return;
  uint32_t k = Decider ? decided.Position : ChooseDiscard();
  uint32_t discard = deck.CardIndexAt(OwnPile(), k);
  ComputerView[HAND_VALUE] = HandValueFeature(HandPoints(OwnPile(), 11) - Points(discard));
  deck.MoveCard(OwnPile(), k, DISCARD_PILE, true);
  NoteCard(DISCARD_PILE, discard, COMPUTER_VECTOR);
  PlannedDiscard = NO_PLAN;

  double v = CurrentNet->GetOutput(ComputerView.data(), true, false)[0];
  RecordObservation();
  ComputerView[DREW_DISCARD] = FROM_STOCK;
  if (CurrentLevel == TOP_LEVEL) v = 0.9;
  if (Decider) v = decided.Knock ? 0.9 : 0.0;
  bool knocked = false;
  if (v > 0.5) knocked = TryToKnock();
  if (!knocked) Table.EndHandIfStockExhausted();
}

ComputerPlay::DiscardPlan ComputerPlay::PlanDiscard(bool train) { return NoteDiscard(ChooseDiscard(), train); }

ComputerPlay::DiscardPlan ComputerPlay::NoteDiscard(uint32_t k, bool train) {
  NxDeck& deck = Table.Deck();
  uint32_t discard = deck.CardIndexAt(OwnPile(), k);
  ComputerView[HAND_VALUE] = HandValueFeature(HandPoints(OwnPile(), 11) - Points(discard));
  NoteCard(DISCARD_PILE, discard, COMPUTER_VECTOR);
  PlannedDiscard = NO_PLAN;
  double v = CurrentNet->GetOutput(ComputerView.data(), train, false)[0];
  RecordObservation();
  ComputerView[DREW_DISCARD] = FROM_STOCK;
  if (CurrentLevel == TOP_LEVEL) v = 0.9;
  if (v <= 0.5) return {k, false};
  unsigned kept[10];
  for (uint32_t i = 0, n = 0; i < 11; ++i)
    if (i != k) kept[n++] = deck.CardIndexAt(OwnPile(), i);
  return {k, NxHandScore(kept, 10).BestDeadwood() <= static_cast<int32_t>(Table.State().KnockLimit)};
}

void ComputerPlay::NoteOwnTake(uint32_t card, bool fromDiscard) {
  LastDrawFeature = fromDiscard ? FROM_DISCARD_PILE : FROM_STOCK;
  NoteCard(COMPUTER_PILE, card, COMPUTER_VECTOR);
}

bool ComputerPlay::TryToKnock() {
  NxDeck& deck = Table.Deck();
  unsigned kept[10];
  for (uint32_t i = 0; i < 10; ++i) kept[i] = deck.CardIndexAt(OwnPile(), i);
  const NxHandScore& score = Table.KeepKnockScore(Seat, kept);
  if (score.BestDeadwood() > static_cast<int32_t>(Table.State().KnockLimit)) return false;
  Table.ShowKnockCard();
  Table.View().SetBusy(true);
  Table.EvaluateKnock(Seat);
  Table.View().SetBusy(false);
  return true;
}

bool ComputerPlay::AnimateTake(uint32_t pile, TPoint showAt, SelectionKind kind) {
  NxDeck& deck = Table.Deck();
  Table.BeginMove();
  LastDrawFeature = pile == DISCARD_PILE ? FROM_DISCARD_PILE : FROM_STOCK;
  if (!Table.WaitInMove(1000)) return false;
  int32_t top = deck.TopIndex(pile);
  if (top < 0) return false;
  uint32_t card = deck.CardIndexAt(pile, top);
  deck.MoveCardToPoint(showAt, pile, top, true);
  Table.ShowSelection(kind, card);
  if (!Table.WaitInMove(1000)) return false;
  deck.MoveCard(pile, deck.TopIndex(pile), OwnPile(), Table.State().Watching);
  NoteCard(COMPUTER_PILE, card, COMPUTER_VECTOR);
  return true;
}

void ComputerPlay::TakeTopDiscard() { AnimateTake(DISCARD_PILE, SHOWN_DISCARD_CARD, SELECT_KNOWN_CARD); }

void ComputerPlay::DrawStockCard() {
  if (AnimateTake(STOCK_PILE, SHOWN_STOCK_CARD, SELECT_STOCK_CARD) && Table.Deck().CardsInPile(STOCK_PILE) < 3)
    Table.MarkStockExhausted();
}
