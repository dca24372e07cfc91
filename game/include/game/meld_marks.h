#pragma once

#include <cstdint>

#include "game/deck.h"

// What the table marks in a hand: the melds of its best arrangement,
// numbered 1, 2, ... from the hand's left, and every other card as deadwood.
// Empty marks for an empty pile and before the first deal.
CardMarks MeldMarks(const NxDeck& deck, uint32_t pile);
