#pragma once

#include "game/score_case.h"

// Recycles score cases between searches. A case's lists keep their storage
// when it comes back, so a search that has warmed the pool allocates no
// case at all; the computer player scores thousands of hands per move.
// One pool per thread, no locking.
class NxScoreCasePool {
 public:
  static NxScoreCase* Take(const NxScoreCase& from);
  static NxScoreCase* Take(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count);
  // Accepts null.
  static void Give(NxScoreCase* scoreCase);
};
