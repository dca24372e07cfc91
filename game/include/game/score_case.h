#pragma once

#include <cstdint>

#include "game/match.h"
#include "neural/support.h"

// The melds of a case. Copying a list is the inner step of the search, so
// it copies the pointer block in one go.
class NxMatchList : public NxPtrArray<NxMatch> {
 public:
  NxMatchList() : NxPtrArray<NxMatch>(0, 10, false) {}
  void CopyFrom(const NxPtrArray<NxMatch>& other);
  // Removes the slot without deleting the meld.
  void RemoveAt(unsigned index) {
    NX_CHECK(index < NumElements);
    for (unsigned i = index + 1; i < NumElements; ++i) Array[i - 1] = Array[i];
    --NumElements;
  }
};

// One (partial) arrangement under consideration: the melds still in play
// and the cards not (yet) covered by a kept meld. Melds are shared by
// pointer; only the two lists are copied from case to case.
class NxScoreCase {
 public:
  NxScoreCase(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count);
  NxScoreCase(const NxScoreCase& other);
  NxScoreCase& operator=(const NxScoreCase& other);
  virtual ~NxScoreCase() = default;

  // Starts over as a fresh case, keeping the lists' storage.
  void Reset(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count);

  void AddUnmatched(unsigned card);
  // Gives up the meld at the cursor: its cards become unmatched.
  void DropCurrent();
  // Keeps the meld at the cursor and gives up every later meld it overlaps.
  void KeepCurrent();
  // Removes the cards covered by the remaining melds and sums the rest.
  int32_t Deadwood();

  NxMatchList Matches;
  NxArray<unsigned> Unmatched{0, 10};
  unsigned Cursor = 0;
  unsigned NumUnmatched = 0;
  // The live entries of Unmatched as bits, for the duplicate test.
  uint64_t UnmatchedMask = 0;

 private:
  void AddCardsOf(const NxMatch& match);
};
