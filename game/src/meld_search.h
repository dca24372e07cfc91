#pragma once

#include <cstdint>

#include "meld_list.h"

// The search for the arrangement of a hand with the least deadwood, over
// the melds of its list. The melds that share cards are tried left out
// before kept, in list order, and an arrangement replaces the best so far
// only when its deadwood is less: of two equal arrangements, the one found
// first wins. Branches that cannot beat the best so far are cut, which
// leaves the winner as it is.
//
// Laying off, the defender's hand holds the knocker's melds as well, and
// an arrangement counts only when each of them lies whole inside one of its
// melds.
class MeldSearch {
 public:
  MeldSearch(const MeldList& list, uint64_t cards, const uint64_t* mustKeep = nullptr, unsigned numMustKeep = 0);

  bool Found() const { return HasBest; }
  int32_t LeastDeadwood() const { return BestPoints; }
  // Whether the best arrangement holds meld `index` of the list.
  bool Keeps(unsigned index) const { return HasBest && index < List.Count && BestHolds[index]; }
  // The cards of the best arrangement's melds.
  uint64_t Covered() const { return BestCovered; }

 private:
  void Visit(unsigned next, uint64_t covered);
  void NoteBest(uint64_t covered);
  bool HoldsWhole(uint64_t meld, unsigned next, uint64_t covered, bool orLater) const;
  bool HoldsEveryMustKeep(unsigned next, uint64_t covered, bool orLater) const;

  const MeldList& List;
  const uint64_t Cards;
  const uint64_t* MustKeep;
  const unsigned NumMustKeep;
  // The melds that share cards, as list indices, in the order they are
  // tried, each one's place in that order, and for each place the cards
  // the melds from there on could still cover.
  unsigned Shared[MeldList::CAPACITY];
  unsigned PlaceOf[MeldList::CAPACITY];
  uint64_t CoverableFrom[MeldList::CAPACITY + 1];
  unsigned NumShared = 0;
  // The melds of the arrangement being built, and of the best one.
  bool Holds[MeldList::CAPACITY];
  bool BestHolds[MeldList::CAPACITY];
  uint64_t BestCovered = 0;
  int32_t BestPoints = 0;
  bool HasBest = false;
};

// The points of the cards in `cards`.
int32_t PointsOf(uint64_t cards);
