#pragma once

#include <array>
#include <cstdint>

#include "game/card_id.h"
#include "game/deck.h"
#include "game/layoffs.h"

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

// Both hands laid open at a hand's end: each hand's melds numbered from its
// left, the defender's cards in `laidOff` with the band of the knocker's
// meld each joins, and every other card as deadwood. A defender's own
// melds are made of the cards it kept and numbered after the knocker's. With nothing laid off, as after gin
// or when the stock ran out, each hand is marked as MeldMarks would.
CardMarks HandEndMarks(const NxDeck& deck, const LaidOffList& laidOff);
