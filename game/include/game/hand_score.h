#pragma once

#include <cstdint>

#include "game/match.h"
#include "game/score_case.h"
#include "neural/support.h"

// Finds every meld of a hand and, by exhaustive search, the arrangement of
// non-overlapping melds with the least deadwood. Given the knocker's score
// as well, it scores the defender after laying off on the knocker's melds:
// an arrangement then counts only when it keeps every knocker meld whole
// (possibly extended). Built, read and thrown away.
class NxHandScore {
 public:
  NxHandScore(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore = nullptr);
  ~NxHandScore();

  NxHandScore(const NxHandScore&) = delete;
  NxHandScore& operator=(const NxHandScore&) = delete;

  int32_t BestDeadwood() const { return BestPoints; }
  const NxScoreCase* BestCase() const { return Best; }

  bool IsLayoffMode() const { return NumKnockerMatches > 0; }

 private:
  void Compute(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore);
  void FindMatches();
  void FindRuns();
  void FindSets();
  void CompactFreeCards();
  void MarkOverlaps();
  void Search(NxScoreCase& scoreCase, unsigned depth);
  void Evaluate(NxScoreCase& scoreCase);
  bool KeepsKnockerMatches(const NxScoreCase& scoreCase) const;
  NxScoreCase& BranchCase(unsigned depth, const NxScoreCase& from);

  NxPtrArray<NxMatch> AllMatches{10, 10, true};
  NxPtrArray<NxMatch> KnockerMatches{0, 4, true};
  NxArray<unsigned> AllCards{0, 12};
  NxArray<unsigned> FreeCards{0, 12};
  // One case per search depth: a branch's case is done with as soon as its
  // subtree has been explored, so the next branch at that depth reuses it.
  // The cases come from and go back to the case pool.
  NxPtrArray<NxScoreCase> PendingCases{0, 8, false};
  unsigned char Present[52] = {};
  uint64_t PresentMask = 0;
  // Cards taken by a meld found so far; compacting FreeCards drops them.
  uint64_t UsedMask = 0;
  bool FirstCase = true;
  unsigned NumTotalCards = 0;
  unsigned NumFreeCards = 0;
  unsigned NumKnockerMatches = 0;
  NxScoreCase* Best = nullptr;
  int32_t BestPoints = 0;
};
