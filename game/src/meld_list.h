#pragma once

#include <cstdint>

#include "game/card_id.h"

// Every meld a set of cards could be arranged in, as card bits, in the one
// order the meld search tries them (the order decides between arrangements
// of equal deadwood, so the melds shown, the cards laid off and what the
// computer sees all depend on it):
// 1. the longest runs, in the order their lowest cards come in the hand;
// 2. the sets, by rank, each with every card of its rank held;
// 3. for each of those that shares a card with another, in their order, its
//    shorter runs (by length, then by lowest card) or its sets of three
//    (leaving out the fourth card, then the first, the second, the third).
// A meld that shares no card with another is in every best arrangement.
struct MeldList {
  // Every meld of a whole deck: 66 runs per suit and five sets per rank.
  static constexpr unsigned CAPACITY = NUM_SUITS * 66 + NUM_RANKS * 5;

  uint64_t Melds[CAPACITY];
  bool SharesCards[CAPACITY];
  unsigned Count = 0;
};

// Lists the melds of `cards`. With `order` (the cards of `cards`, as the
// hand holds them) runs come in the order of their lowest cards in it,
// without it by card id.
void ListMelds(uint64_t cards, const unsigned* order, unsigned count, MeldList& list);

// A meld's cards lie next to each other in the id order only for a run.
constexpr bool IsRunMeld(uint64_t meld) {
  const uint64_t shifted = meld >> __builtin_ctzll(meld);
  return (shifted & (shifted + 1)) == 0;
}
