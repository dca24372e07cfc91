#pragma once

#include <cstdint>

// The least deadwood of a hand, for callers that need only the number: the
// meld search of NxHandScore without building the arrangement, and with the
// cards that lie in no meld counted up front, so it is cheap enough to try
// every discard of a hand.

// One bit per card id.
uint64_t CardMask(const unsigned* cards, unsigned count);

// The least points left outside non-overlapping runs and sets of the cards
// in `cards`. Meant for hands: the search grows exponentially with the
// number of cards that could meld (32 such cards take a quarter of a second).
int32_t LeastDeadwood(uint64_t cards);

// The cards that lie in some run of three or set of three of `cards`: any
// other card is deadwood however the hand is arranged, so throwing it
// lowers the least deadwood by exactly its points.
uint64_t MeldableCards(uint64_t cards);
