#include "game/hand_score.h"

#include "game/card_id.h"
#include "neural/check.h"

NxHandScore::NxHandScore(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore) {
  Compute(cards, numCards, knockerScore);
}

NxHandScore::~NxHandScore() { delete Best; }

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
  for (unsigned i = 0; i < NumTotalCards; ++i) Present[AllCards[i]] = 1;
  FirstCase = true;

  FindMatches();
  MarkOverlaps();

  NxScoreCase start(AllMatches, FreeCards, NumFreeCards);
  Search(start, 0);
}

void NxHandScore::FindMatches() {
  FindRuns();
  FindSets();
  CompactFreeCards();
}

// Marks the free cards from low to high as used by a meld: by id range for
// a run, by rank for a set.
void NxHandScore::MarkUsed(unsigned low, unsigned high, bool byRank) {
  unsigned* free = FreeCards.Data();
  for (unsigned i = 0; i < NumTotalCards; ++i) {
    unsigned card = free[i];
    if (card >= NUM_CARDS) continue;
    bool used = byRank ? RankOf(card) == low : (card >= low && card <= high);
    if (!used) continue;
    free[i] = NoCard;
    --NumFreeCards;
  }
}

void NxHandScore::FindRuns() {
  for (unsigned i = 0; i < NumTotalCards; ++i) {
    const unsigned card = AllCards[i];
    const unsigned rank = RankOf(card);
    if (FreeCards[i] == NoCard || rank >= 11) continue;
    if (rank != 0 && Present[card - 1]) continue;  // not the start of its sequence
    unsigned last = card;
    while (RankOf(last) < NUM_RANKS - 1 && Present[last + 1]) ++last;
    if (last - card > 1) {
      AllMatches.Add(new NxMatch(card, last));
      MarkUsed(card, last, false);
    }
  }
}

void NxHandScore::FindSets() {
  for (unsigned rank = 0; rank < NUM_RANKS; ++rank) {
    unsigned members[NUM_SUITS];
    unsigned count = 0;
    for (unsigned suit = 0; suit < NUM_SUITS; ++suit)
      if (Present[MakeCard(suit, rank)]) members[count++] = MakeCard(suit, rank);
    if (count < 3) continue;
    AllMatches.Add(new NxMatch(members, count));
    MarkUsed(rank, rank, true);
  }
}

void NxHandScore::CompactFreeCards() {
  unsigned* free = FreeCards.Data();
  unsigned kept = 0;
  for (unsigned i = 0; i < NumTotalCards; ++i)
    if (free[i] != NoCard) free[kept++] = free[i];
  for (unsigned i = kept; i < NumTotalCards; ++i) free[i] = NoCard;
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
    PendingCases.Add(new NxScoreCase(from));
  } else {
    *PendingCases[depth] = from;
  }
  return *PendingCases[depth];
}

void NxHandScore::Search(NxScoreCase& scoreCase, unsigned depth) {
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
    Best = new NxScoreCase(scoreCase);
  FirstCase = false;
}
