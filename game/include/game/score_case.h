#pragma once

#include <cstdint>

#include "game/match.h"
#include "neural/support.h"

// One (partial) arrangement under consideration: the melds still in play
// and the cards not (yet) covered by a kept meld. Melds are shared by
// pointer; only the two lists are copied from case to case.
class NxScoreCase {
 public:
  NxScoreCase(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count);
  NxScoreCase(const NxScoreCase& other);
  NxScoreCase& operator=(const NxScoreCase& other);
  virtual ~NxScoreCase() = default;

  void AddUnmatched(unsigned card);
  // Gives up the meld at the cursor: its cards become unmatched.
  void DropCurrent();
  // Keeps the meld at the cursor and gives up every later meld it overlaps.
  void KeepCurrent();
  // Removes the cards covered by the remaining melds and sums the rest.
  int32_t Deadwood();

  NxPtrArray<NxMatch> Matches{0, 10, false};
  NxArray<unsigned> Unmatched{0, 10};
  unsigned Cursor = 0;
  unsigned NumUnmatched = 0;

 private:
  void AddCardsOf(const NxMatch& match);
  void DeleteUnmatched(unsigned entry);
};
