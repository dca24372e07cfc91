#include "meld_search.h"

#include <algorithm>

namespace {
// The points of every hand of one suit, by its 13 rank bits: the search
// counts points at every step, and four lookups beat a loop over the cards.
struct SuitPoints {
  uint8_t Of[1u << NUM_RANKS] = {};
  constexpr SuitPoints() {
    for (unsigned ranks = 1; ranks < (1u << NUM_RANKS); ++ranks) {
      const unsigned low = static_cast<unsigned>(__builtin_ctz(ranks));
      Of[ranks] = static_cast<uint8_t>(Of[ranks & (ranks - 1)] + CardPoints[low]);
    }
  }
};
constexpr SuitPoints SUIT_POINTS;
constexpr uint64_t ONE_SUIT = (uint64_t{1} << NUM_RANKS) - 1;
}  // namespace

int32_t PointsOf(uint64_t cards) {
  return SUIT_POINTS.Of[cards & ONE_SUIT] + SUIT_POINTS.Of[cards >> NUM_RANKS & ONE_SUIT] +
         SUIT_POINTS.Of[cards >> (2 * NUM_RANKS) & ONE_SUIT] + SUIT_POINTS.Of[cards >> (3 * NUM_RANKS) & ONE_SUIT];
}

MeldSearch::MeldSearch(const MeldList& list, uint64_t cards, const uint64_t* mustKeep, unsigned numMustKeep)
    : List(list), Cards(cards), MustKeep(mustKeep), NumMustKeep(numMustKeep) {
  uint64_t alwaysKept = 0;
  for (unsigned i = 0; i < list.Count; ++i) {
    Holds[i] = !list.SharesCards[i];
    if (list.SharesCards[i]) {
      PlaceOf[i] = NumShared;
      Shared[NumShared++] = i;
    } else {
      alwaysKept |= list.Melds[i];
    }
  }
  CoverableFrom[NumShared] = 0;
  for (unsigned k = NumShared; k-- > 0;) CoverableFrom[k] = CoverableFrom[k + 1] | list.Melds[Shared[k]];
  Visit(0, alwaysKept);
}

void MeldSearch::Visit(unsigned next, uint64_t covered) {
  // Even covering every card the later melds could cover would not beat
  // the best so far (at the end this compares the arrangement itself).
  if (HasBest && PointsOf(Cards & ~covered & ~CoverableFrom[next]) >= BestPoints) return;
  if (NumMustKeep > 0 && !HoldsEveryMustKeep(next, covered, next < NumShared)) return;
  if (next == NumShared) {
    NoteBest(covered);
    return;
  }
  Visit(next + 1, covered);
  const unsigned index = Shared[next];
  const uint64_t meld = List.Melds[index];
  if (meld & covered) return;
  Holds[index] = true;
  Visit(next + 1, covered | meld);
  Holds[index] = false;
}

void MeldSearch::NoteBest(uint64_t covered) {
  BestPoints = PointsOf(Cards & ~covered);
  BestCovered = covered;
  HasBest = true;
  std::copy(Holds, Holds + List.Count, BestHolds);
}

// Whether a meld of the arrangement holds `meld` whole; `orLater` counts
// the melds still to be tried that share no card with it so far as well.
bool MeldSearch::HoldsWhole(uint64_t meld, unsigned next, uint64_t covered, bool orLater) const {
  for (unsigned i = 0; i < List.Count; ++i) {
    if ((meld & ~List.Melds[i]) != 0) continue;
    if (Holds[i]) return true;
    if (orLater && List.SharesCards[i] && PlaceOf[i] >= next && !(List.Melds[i] & covered)) return true;
  }
  return false;
}

// Melds only ever leave the running, so once no meld kept or still to be
// tried holds some knocker meld whole, nothing below can count.
bool MeldSearch::HoldsEveryMustKeep(unsigned next, uint64_t covered, bool orLater) const {
  for (unsigned m = 0; m < NumMustKeep; ++m)
    if (!HoldsWhole(MustKeep[m], next, covered, orLater)) return false;
  return true;
}
