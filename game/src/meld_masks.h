#pragma once

#include <cstdint>

#include "game/card_id.h"

// What both meld searches ask of a hand held as card bits: which cards have
// their suit neighbours, and which ranks are held often enough for a set.

constexpr uint64_t SUIT_BITS = CardBit(NUM_RANKS) - 1;
constexpr uint64_t ACES = RankBits(0);
constexpr uint64_t TWOS = RankBits(1);
constexpr uint64_t QUEENS = RankBits(11);
constexpr uint64_t KINGS = RankBits(12);

// Each of these marks the cards whose neighbour of the same suit, one or two
// ranks away, is in `cards`. Shifting by one id moves a card to its suit
// neighbour, except across the king/ace boundary between suits, which the
// masks cut.
constexpr uint64_t NextRankHeld(uint64_t cards) { return (cards >> 1) & ~KINGS; }
constexpr uint64_t RankAfterNextHeld(uint64_t cards) { return (cards >> 2) & ~(KINGS | QUEENS); }
constexpr uint64_t RankBelowHeld(uint64_t cards) { return (cards << 1) & ~ACES; }
constexpr uint64_t TwoRanksBelowHeld(uint64_t cards) { return (cards << 2) & ~(ACES | TWOS); }

// Ranks (bit r) held in at least three suits.
constexpr uint64_t SetRanks(uint64_t cards) {
  const uint64_t h = cards & SUIT_BITS, d = cards >> 13 & SUIT_BITS, s = cards >> 26 & SUIT_BITS,
                 c = cards >> 39 & SUIT_BITS;
  return (h & d & s) | (h & d & c) | (h & s & c) | (d & s & c);
}

// Every card of the ranks in `ranks` (bit r).
constexpr uint64_t CardsOfRanks(uint64_t ranks) { return ranks | ranks << 13 | ranks << 26 | ranks << 39; }
