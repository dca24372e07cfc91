#pragma once

#include <cstdint>
#include <vector>

#include "game/match.h"

// One arrangement of a hand: its melds and the cards left outside them.
struct NxArrangement {
  // In the meld search's order.
  std::vector<NxMatch> Melds;
  // The cards outside every meld the hand could hold, in the hand's order,
  // then those of the melds the search gave up, in the order it gave them up.
  std::vector<unsigned> Deadwood;
};

// The arrangement of a hand's cards with the least deadwood. Given the
// knocker's score as well, it scores the defender after laying off on the
// knocker's melds: an arrangement then counts only when it keeps every
// knocker meld whole (possibly extended). Built, read and thrown away.
class NxHandScore {
 public:
  NxHandScore(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore = nullptr);

  // 0 when no arrangement counts.
  int32_t BestDeadwood() const { return BestPoints; }
  // Null when no arrangement counts (laying off only).
  const NxArrangement* BestCase() const { return Found ? &Best : nullptr; }

  bool IsLayoffMode() const { return !KnockerMelds.empty(); }

 private:
  std::vector<uint64_t> KnockerMelds;
  NxArrangement Best;
  int32_t BestPoints = 0;
  bool Found = false;
};
