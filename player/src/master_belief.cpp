#include "player/master_belief.h"

#include <algorithm>

bool MasterBelief::Related(uint32_t a, uint32_t b) {
  if (a == b || !IsCard(a) || !IsCard(b)) return false;
  if (RankOf(a) == RankOf(b)) return true;
  if (SuitOf(a) != SuitOf(b)) return false;
  return RankOf(a) > RankOf(b) ? RankOf(a) - RankOf(b) <= 2 : RankOf(b) - RankOf(a) <= 2;
}

void MasterBelief::ReadOwn(const NxDeck& deck) {
  Own = deck.PileCards(PileOf(Seat));
  OwnBits = deck.PileMask(PileOf(Seat));
}

void MasterBelief::OtherThrew(uint32_t card) {
  if (!IsCard(card)) return;
  Held &= ~CardBit(card);
  Thrown |= CardBit(card);
}

void MasterBelief::StartHand(const GameState&, const NxDeck& deck) {
  Held = Taken = Refused = Thrown = 0;
  OwnTaken = NoCard;
  ReadOwn(deck);
  Pile = deck.PileCards(DISCARD_PILE);
  OwnBefore = Own;
  PileBits = deck.PileMask(DISCARD_PILE);
  OtherCards = deck.CardsInPile(PileOf(OtherSeat(Seat)));
  StockCards = deck.CardsInPile(STOCK_PILE);
}

// Between two looks the other player made at most one move: a pass (the
// pile as it was), a stock card and a discard (one card more), or the top
// card taken and another thrown (as many cards, another top). This seat's
// own discard since its last look is the card that left its hand.
void MasterBelief::Observe(const GameState&, const NxDeck& deck) {
  const std::vector<uint32_t> now = deck.PileCards(DISCARD_PILE);
  std::vector<uint32_t> before = Pile;
  ReadOwn(deck);
  if (OwnBefore.size() > Own.size()) {
    for (uint32_t card : OwnBefore)
      if (!(OwnBits & CardBit(card))) before.push_back(card);
  }
  // Holding eleven cards the seat has just taken: the other player has not
  // moved since its last look.
  OwnTaken = NoCard;
  if (Own.size() == 11 && now.size() + 1 == Pile.size() && (OwnBits & CardBit(Pile.back()))) OwnTaken = Pile.back();
  if (Own.size() < 11) {
    const size_t n = before.size();
    if (now == before) {
      if (!before.empty()) Refused |= CardBit(before.back());
    } else if (now.size() == n + 1 && std::equal(before.begin(), before.end(), now.begin())) {
      if (!before.empty()) Refused |= CardBit(before.back());
      OtherThrew(now.back());
    } else if (n > 0 && now.size() == n && std::equal(before.begin(), before.end() - 1, now.begin())) {
      OtherTook(before.back());
      OtherThrew(now.back());
    } else {
      // A sequence this seat cannot follow (a restored game): only the
      // pile's own cards are certain.
      for (uint32_t card : now) OtherThrew(card);
    }
  }
  Pile = now;
  PileBits = deck.PileMask(DISCARD_PILE);
  Held &= ~PileBits;
  OwnBefore = Own;
  OtherCards = deck.CardsInPile(PileOf(OtherSeat(Seat)));
  StockCards = deck.CardsInPile(STOCK_PILE);
}

void MasterBelief::Recall(const std::vector<uint32_t>& taken, const std::vector<uint32_t>& thrown,
                          uint32_t upcardTaken) {
  for (uint32_t card : taken)
    if (IsCard(card)) OtherTook(card);
  for (uint32_t card : thrown) OtherThrew(card);
  Held &= ~PileBits & ~OwnBits;
  OwnTaken = IsCard(upcardTaken) && (OwnBits & CardBit(upcardTaken)) ? upcardTaken : NoCard;
}

uint64_t MasterBelief::Unseen() const { return ALL_CARD_BITS & ~OwnBits & ~PileBits & ~Held; }

double MasterBelief::Weight(uint32_t card) const {
  double weight = 1.0;
  for (uint64_t rest = Taken; rest; rest &= rest - 1) {
    const uint32_t taken = static_cast<uint32_t>(__builtin_ctzll(rest));
    if (Related(card, taken)) weight *= 3.0;
  }
  for (uint64_t rest = Refused | Thrown; rest; rest &= rest - 1) {
    const uint32_t other = static_cast<uint32_t>(__builtin_ctzll(rest));
    if (!Related(card, other)) continue;
    // A refused or thrown card says most about its nearest partners.
    const bool near = RankOf(card) == RankOf(other) || RankOf(card) + 1 == RankOf(other) ||
                      RankOf(other) + 1 == RankOf(card);
    weight *= near ? 0.55 : 0.8;
  }
  return weight;
}
