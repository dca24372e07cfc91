#pragma once

#include <cstdint>

#include "game/card_id.h"

enum MatchKind : uint32_t { MatchRun = 0, MatchSet = 1 };

// One meld: a run of three or more consecutive cards of one suit (ace low),
// or a set of three or four cards of one rank. A run's cards are the
// consecutive ids FirstCard..LastCard, so it needs no card list.
class NxMatch {
 public:
  // A set of `count` (3 or 4) cards, kept in the given order.
  NxMatch(const unsigned* cards, unsigned count);
  // A run from its lowest to its highest card id.
  NxMatch(unsigned firstCard, unsigned lastCard);

  static bool Overlaps(const NxMatch& a, const NxMatch& b) {
    // Two sets of one rank always compete for the same cards. Otherwise a
    // common card is a common bit (runs of different suits lie in disjoint
    // id ranges).
    if (a.MatchType == MatchSet && b.MatchType == MatchSet) return a.Rank == b.Rank;
    return (a.CardMask & b.CardMask) != 0;
  }
  static bool Contains(const NxMatch& m, unsigned card) { return card < 64 && (m.CardMask >> card & 1) != 0; }
  // b lies wholly inside a (same kind).
  static bool Includes(const NxMatch& a, const NxMatch& b);
  static unsigned CardAt(const NxMatch& m, unsigned i) {
    if (m.MatchType == MatchRun) return m.FirstCard + i;
    if (m.MatchType == MatchSet && i < 4) return m.Cards[i];
    return NoCard;
  }

  unsigned MatchType;
  unsigned FirstCard;
  unsigned LastCard;
  unsigned Rank;
  unsigned NumCards;
  unsigned Cards[4];
  // Bit n set for every card id n of the meld: overlap and containment
  // tests are single instructions.
  uint64_t CardMask = 0;
};
