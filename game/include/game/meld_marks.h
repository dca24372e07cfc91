#pragma once

#include <array>
#include <cstdint>

#include "game/card_id.h"
#include "game/deck.h"

// What is drawn over a card of the marked pile: nothing, deadwood's shade,
// or the band of one of its melds (1 and up, numbered left to right).
constexpr uint8_t NO_MARK = 0;
constexpr uint8_t DEADWOOD_MARK = 0xFF;
using CardMarks = std::array<uint8_t, NUM_CARDS>;

// What the table marks in a hand: the melds of its best arrangement,
// numbered 1, 2, ... from the hand's left, and every other card as deadwood.
// Empty marks for a hand without a meld, an empty pile and before the first
// deal.
CardMarks MeldMarks(const NxDeck& deck, uint32_t pile);
