#pragma once

#include <cstdint>
#include <vector>

#include "game/deck.h"
#include "game/game_state.h"

// What one seat can know of the hand in play, and so of the other hand:
// its own cards, the discard pile as it grew, the cards the other player
// took from it (still held unless thrown again), the upcards it passed or
// left for the stock, its discards and the stock's count. It is read only
// from the piles the seat may see, at each of its decisions; the other
// hand and the stock stay closed to it.
class MasterBelief {
 public:
  explicit MasterBelief(uint32_t seat = HUMAN_SEAT) : Seat(seat) {}

  // At every deal, before the first move of the hand.
  void StartHand(const GameState& state, const NxDeck& deck);
  // Before each of this seat's decisions: works out what the other player
  // did since this seat last looked.
  void Observe(const GameState& state, const NxDeck& deck);
  // After StartHand in the middle of a hand (a hint): what the other player
  // took from the discard pile and threw, from the record of the hand, and
  // the upcard this seat took this turn.
  void Recall(const std::vector<uint32_t>& taken, const std::vector<uint32_t>& thrown, uint32_t upcardTaken);

  uint32_t OwnSeat() const { return Seat; }
  // The seat's hand in pile order, as the moves address it.
  const std::vector<uint32_t>& OwnCards() const { return Own; }
  uint64_t OwnMask() const { return OwnBits; }
  uint64_t DiscardMask() const { return PileBits; }
  // Cards the other player is known to hold: taken from the pile, not thrown since.
  uint64_t OtherHeld() const { return Held; }
  // Upcards it could have taken and did not.
  uint64_t OtherRefused() const { return Refused; }
  uint64_t OtherDiscarded() const { return Thrown; }
  // Everything neither seen nor known: the other hand's unknown part and the stock.
  uint64_t Unseen() const;
  uint32_t OtherCount() const { return OtherCards; }
  uint32_t StockCount() const { return StockCards; }
  uint32_t TopCard() const { return Pile.empty() ? NoCard : Pile.back(); }
  // The upcard this seat took this turn, which it may not throw back.
  uint32_t UpcardTaken() const { return OwnTaken; }

  // How much likelier than a card without history `card` is to sit in the
  // other hand: partners of what it took count up, partners of what it
  // refused or threw count down.
  double Weight(uint32_t card) const;
  // Whether two cards could stand in one meld: same rank, or same suit
  // within two ranks.
  static bool Related(uint32_t a, uint32_t b);

 private:
  void ReadOwn(const NxDeck& deck);
  void OtherTook(uint32_t card) { Held |= CardBit(card); Taken |= CardBit(card); }
  void OtherThrew(uint32_t card);

  uint32_t Seat;
  std::vector<uint32_t> Own;
  uint64_t OwnBits = 0;
  uint64_t PileBits = 0;
  uint64_t Held = 0;
  uint64_t Taken = 0;
  uint64_t Refused = 0;
  uint64_t Thrown = 0;
  uint32_t OtherCards = 10;
  uint32_t StockCards = 0;
  uint32_t OwnTaken = NoCard;
  // The pile as this seat left it after its last action, and its hand then.
  std::vector<uint32_t> Pile;
  std::vector<uint32_t> OwnBefore;
};
