#include "game/hand_score.h"

#include "game/card_id.h"
#include "game/score_case_pool.h"
#include "meld_masks.h"
#include "neural/check.h"

NxHandScore::NxHandScore(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore) {
  Compute(cards, numCards, knockerScore);
}

NxHandScore::~NxHandScore() {
  for (unsigned i = 0; i < PendingCases.GetNumElements(); ++i) NxScoreCasePool::Give(PendingCases[i]);
  NxScoreCasePool::Give(Best);
}

void NxHandScore::Compute(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore) {
  if (knockerScore && knockerScore->Best) {
    const NxPtrArray<NxMatch>& melds = knockerScore->Best->Matches;
    NumKnockerMatches = melds.GetNumElements();
    for (unsigned i = 0; i < NumKnockerMatches; ++i) KnockerMatches.Add(new NxMatch(*melds[i]));
  }
  for (unsigned i = 0; i < numCards; ++i) {
    NX_CHECK(cards[i] < NUM_CARDS);
    AllCards.Add(cards[i]);
    FreeCards.Add(cards[i]);
  }
  for (unsigned m = 0; m < NumKnockerMatches; ++m) {
    const NxMatch& meld = *KnockerMatches[m];
    for (unsigned i = 0; i < meld.NumCards; ++i) {
      AllCards.Add(NxMatch::CardAt(meld, i));
      FreeCards.Add(NxMatch::CardAt(meld, i));
    }
  }
  NumTotalCards = AllCards.GetNumElements();
  NumFreeCards = NumTotalCards;
  for (unsigned i = 0; i < NumTotalCards; ++i) {
    Present[AllCards[i]] = 1;
    PresentMask |= CardBit(AllCards[i]);
  }
  FirstCase = true;

  FindMatches();
  MarkOverlaps();

  NxScoreCase* start = NxScoreCasePool::Take(AllMatches, FreeCards, NumFreeCards);
  Search(*start, 0);
  NxScoreCasePool::Give(start);
}

void NxHandScore::FindMatches() {
  FindRuns();
  FindSets();
  CompactFreeCards();
}

namespace {
// Cards that start a sequence of at least three present cards of their
// suit: the next two ranks are present and the rank below is not.
uint64_t RunStarts(uint64_t present) {
  return present & NextRankHeld(present) & RankAfterNextHeld(present) & ~RankBelowHeld(present);
}
}  // namespace

void NxHandScore::FindRuns() {
  const uint64_t starts = RunStarts(PresentMask);
  if (!starts) return;
  const unsigned* cards = AllCards.Data();
  for (unsigned i = 0; i < NumTotalCards; ++i) {
    const unsigned card = cards[i];
    // Only the lowest card of a sequence starts a run, and only once.
    if (!(starts >> card & 1) || (UsedMask >> card & 1)) continue;
    unsigned last = card + 2;
    while (RankOf(last) < NUM_RANKS - 1 && (PresentMask >> (last + 1) & 1)) ++last;
    NxMatch* run = new NxMatch(card, last);
    AllMatches.Add(run);
    UsedMask |= run->CardMask;
  }
}

void NxHandScore::FindSets() {
  uint64_t ranks = SetRanks(PresentMask);
  while (ranks) {
    const unsigned rank = static_cast<unsigned>(__builtin_ctzll(ranks));
    ranks &= ranks - 1;
    unsigned members[NUM_SUITS];
    unsigned count = 0;
    for (unsigned suit = 0; suit < NUM_SUITS; ++suit)
      if (PresentMask >> MakeCard(suit, rank) & 1) members[count++] = MakeCard(suit, rank);
    NxMatch* set = new NxMatch(members, count);
    AllMatches.Add(set);
    UsedMask |= set->CardMask;
  }
}

// Moves the cards that belong to no meld to the front, in their order, and
// fills the rest with NoCard.
void NxHandScore::CompactFreeCards() {
  if (!UsedMask) return;
  unsigned* free = FreeCards.Data();
  unsigned kept = 0;
  for (unsigned i = 0; i < NumTotalCards; ++i)
    if (!(UsedMask >> free[i] & 1)) free[kept++] = free[i];
  for (unsigned i = kept; i < NumTotalCards; ++i) free[i] = NoCard;
  NumFreeCards = kept;
}

void NxHandScore::MarkOverlaps() {
  const unsigned found = AllMatches.GetNumElements();
  for (unsigned i = 0; i < found; ++i) {
    for (unsigned j = i + 1; j < found; ++j) {
      if (!NxMatch::Overlaps(*AllMatches[i], *AllMatches[j])) continue;
      AllMatches[i]->IsOverlapping = true;
      AllMatches[j]->IsOverlapping = true;
    }
  }
  for (unsigned i = 0; i < found; ++i) {
    if (!AllMatches[i]->IsOverlapping) continue;
    NxPtrArray<NxMatch>& subs = AllMatches[i]->GetSubMatches();
    for (unsigned s = 0; s < subs.GetNumElements(); ++s) AllMatches.Add(subs[s]);
  }
}

NxScoreCase& NxHandScore::BranchCase(unsigned depth, const NxScoreCase& from) {
  if (depth == PendingCases.GetNumElements()) {
    PendingCases.Add(NxScoreCasePool::Take(from));
  } else {
    *PendingCases[depth] = from;
  }
  return *PendingCases[depth];
}

void NxHandScore::Search(NxScoreCase& scoreCase, unsigned depth) {
  // Melds only ever leave a case, so once no meld left keeps some knocker
  // meld whole, no arrangement below can count.
  if (NumKnockerMatches > 0 && !KeepsKnockerMatches(scoreCase)) return;
  // A meld that overlaps nothing is always kept.
  const unsigned numMatches = scoreCase.Matches.GetNumElements();
  while (scoreCase.Cursor < numMatches && !scoreCase.Matches[scoreCase.Cursor]->IsOverlapping) ++scoreCase.Cursor;
  if (scoreCase.Cursor >= numMatches) {
    Evaluate(scoreCase);
    return;
  }
  // Drop before keep: this order decides which of two equal arrangements wins.
  NxScoreCase& dropped = BranchCase(depth, scoreCase);
  dropped.DropCurrent();
  Search(dropped, depth + 1);
  NxScoreCase& kept = BranchCase(depth, scoreCase);
  kept.KeepCurrent();
  Search(kept, depth + 1);
}

bool NxHandScore::KeepsKnockerMatches(const NxScoreCase& scoreCase) const {
  const unsigned numMatches = scoreCase.Matches.GetNumElements();
  for (unsigned k = 0; k < NumKnockerMatches; ++k) {
    bool kept = false;
    for (unsigned m = 0; m < numMatches && !kept; ++m)
      kept = NxMatch::Includes(*scoreCase.Matches[m], *KnockerMatches[k]);
    if (!kept) return false;
  }
  return true;
}

void NxHandScore::Evaluate(NxScoreCase& scoreCase) {
  const int32_t points = scoreCase.Deadwood();
  if (!(points < BestPoints) && !FirstCase) return;
  if (NumKnockerMatches > 0 && !KeepsKnockerMatches(scoreCase)) return;
  BestPoints = points;
  if (Best)
    *Best = scoreCase;
  else
    Best = NxScoreCasePool::Take(scoreCase);
  FirstCase = false;
}
