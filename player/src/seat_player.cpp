#include "player/seat_player.h"

#include <vector>

#include "game/deadwood.h"
#include "game/hand_score.h"
#include "game/score_iterators.h"

namespace {

uint64_t Mask(const std::vector<unsigned>& cards) { return CardMask(cards.data(), static_cast<unsigned>(cards.size())); }

int32_t Deadwood(const std::vector<unsigned>& cards) { return LeastDeadwood(Mask(cards)); }

// The least deadwood of the hand without one card, never `keep`; the
// position of that card (the first of equals) in `position`.
int32_t BestDiscard(const std::vector<unsigned>& cards, uint32_t keep, size_t& position) {
  int32_t best = INT32_MAX;
  position = cards.size();
  const uint64_t hand = Mask(cards);
  for (size_t i = 0; i < cards.size(); ++i) {
    if (cards[i] == keep) continue;
    int32_t deadwood = LeastDeadwood(hand & ~CardBit(cards[i]));
    if (deadwood < best) best = deadwood, position = i;
  }
  return best;
}

}  // namespace

bool MakeSeatMove(GameFlow& flow, const SeatMove& move) {
  switch (move.What) {
    case SeatMove::PASS: return flow.Pass();
    case SeatMove::TAKE_UPCARD: return flow.TakeUpcard();
    case SeatMove::TAKE_STOCK: return flow.TakeStockCard();
    case SeatMove::DISCARD: return flow.Discard(move.Position);
    case SeatMove::KNOCK: return flow.Knock(move.Position);
    case SeatMove::NONE: break;
  }
  return false;
}

bool IsSameMove(const SeatMove& a, const SeatMove& b) {
  const bool discards = a.What == SeatMove::DISCARD || a.What == SeatMove::KNOCK;
  return a.What == b.What && (!discards || a.Position == b.Position);
}

SeatMove SimplePlayer::Choose(GameFlow& flow) const {
  return flow.State().Play == HumanTake ? Take(flow) : DiscardOrKnock(flow);
}

SeatMove SimplePlayer::Take(GameFlow& flow) const {
  const GameState& state = flow.State();
  NxDeck& deck = flow.Deck();
  int32_t top = deck.TopIndex(DISCARD_PILE);
  if (top >= 0 && UpcardMayBeTaken(state.Offer)) {
    unsigned upcard = deck.CardIndexAt(DISCARD_PILE, top);
    std::vector<unsigned> hand = deck.PileCards(HUMAN_PILE);
    int32_t now = Deadwood(hand);
    hand.push_back(upcard);
    size_t position;
    int32_t after = BestDiscard(hand, upcard, position);
    bool knocks = after <= static_cast<int32_t>(state.KnockLimit);
    bool melds = false;
    if (after < now) {
      // The upcard must be part of a meld of the improved hand.
      hand.erase(hand.begin() + position);
      NxHandScore score(hand.data(), static_cast<unsigned>(hand.size()));
      melds = true;
      NxScoreUnmatchedIterator unmatched(score);
      while (unmatched.HasMore())
        if (unmatched.Next() == upcard) melds = false;
    }
    if (knocks || melds) return {SeatMove::TAKE_UPCARD};
  }
  if (PassAllowed(state.Offer)) return {SeatMove::PASS};
  return {SeatMove::TAKE_STOCK};
}

SeatMove SimplePlayer::DiscardOrKnock(GameFlow& flow) const {
  const GameState& state = flow.State();
  std::vector<unsigned> hand = flow.Deck().PileCards(HUMAN_PILE);
  size_t position;
  int32_t after = BestDiscard(hand, state.UpcardTaken, position);
  if (position < hand.size() && after <= static_cast<int32_t>(state.KnockLimit))
    return {SeatMove::KNOCK, static_cast<uint32_t>(position)};
  // The highest unmatched card, the lowest id among equals.
  NxHandScore score(hand.data(), static_cast<unsigned>(hand.size()));
  NxScoreUnmatchedIterator unmatched(score);
  unsigned chosen = NoCard;
  while (unmatched.HasMore()) {
    unsigned card = unmatched.Next();
    if (card == state.UpcardTaken) continue;
    if (chosen == NoCard || CardPoints[RankOf(card)] > CardPoints[RankOf(chosen)] ||
        (CardPoints[RankOf(card)] == CardPoints[RankOf(chosen)] && card < chosen))
      chosen = card;
  }
  const uint32_t notFound = static_cast<uint32_t>(hand.size());
  const uint32_t discard = chosen != NoCard ? flow.Deck().PositionOf(HUMAN_PILE, chosen).value_or(notFound)
                                            : static_cast<uint32_t>(position);
  return {SeatMove::DISCARD, discard};
}

RandomPlayer::RandomPlayer(int32_t seed) {
  Random.Seed = seed % NxRandomGenerator::MODULUS;
  Random.InitTable();
}

uint32_t RandomPlayer::Below(uint32_t count) {
  return static_cast<uint32_t>(Random.rand() * (1.0 / NxRandomGenerator::MODULUS) * count);
}

bool RandomPlayer::Move(GameFlow& flow) {
  const GameState& state = flow.State();
  if (state.Play == HumanTake) {
    enum Choice { STOCK, UPCARD, PASS };
    std::vector<Choice> legal;
    if (StockCardMayBeTaken(state.Offer)) legal.push_back(STOCK);
    if (UpcardMayBeTaken(state.Offer) && flow.Deck().TopIndex(DISCARD_PILE) >= 0) legal.push_back(UPCARD);
    if (PassAllowed(state.Offer)) legal.push_back(PASS);
    if (legal.empty()) return false;
    switch (legal[Below(static_cast<uint32_t>(legal.size()))]) {
      case STOCK:
        return flow.TakeStockCard();
      case UPCARD:
        return flow.TakeUpcard();
      case PASS:
        return flow.Pass();
    }
  }
  std::vector<unsigned> hand = flow.Deck().PileCards(HUMAN_PILE);
  std::vector<size_t> allowed;
  for (size_t i = 0; i < hand.size(); ++i)
    if (hand[i] != state.UpcardTaken) allowed.push_back(i);
  if (allowed.empty()) return false;
  size_t position = allowed[Below(static_cast<uint32_t>(allowed.size()))];
  std::vector<unsigned> rest = hand;
  rest.erase(rest.begin() + position);
  if (Deadwood(rest) <= static_cast<int32_t>(state.KnockLimit)) return flow.Knock(static_cast<uint32_t>(position));
  return flow.Discard(static_cast<uint32_t>(position));
}
