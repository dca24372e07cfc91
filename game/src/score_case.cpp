#include "game/score_case.h"

#include "game/card_id.h"
#include "neural/check.h"

NxScoreCase::NxScoreCase(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count) {
  for (unsigned i = 0; i < matches.GetNumElements(); ++i) Matches.Add(matches[i]);
  for (unsigned i = 0; i < count; ++i) Unmatched.Add(cards[i]);
  NumUnmatched = count;
}

NxScoreCase::NxScoreCase(const NxScoreCase& other) { *this = other; }

NxScoreCase& NxScoreCase::operator=(const NxScoreCase& other) {
  if (this == &other) return *this;
  const unsigned numMatches = other.Matches.GetNumElements();
  Matches.Flush(false);
  Matches.Reallocate(numMatches);
  for (unsigned i = 0; i < numMatches; ++i) Matches.Add(other.Matches[i]);
  Unmatched = other.Unmatched;
  Cursor = other.Cursor;
  NumUnmatched = other.NumUnmatched;
  return *this;
}

void NxScoreCase::AddUnmatched(unsigned card) {
  const unsigned* live = Unmatched.Data();
  for (unsigned i = 0; i < NumUnmatched; ++i)
    if (live[i] == card) return;
  if (NumUnmatched < Unmatched.GetNumElements())
    Unmatched[NumUnmatched] = card;
  else
    Unmatched.Add(card);
  ++NumUnmatched;
}

void NxScoreCase::AddCardsOf(const NxMatch& match) {
  for (unsigned i = 0; i < match.NumCards; ++i) AddUnmatched(NxMatch::CardAt(match, i));
}

void NxScoreCase::DropCurrent() {
  AddCardsOf(*Matches[Cursor]);
  Matches.Remove(Cursor, false);
}

void NxScoreCase::KeepCurrent() {
  const unsigned numMatches = Matches.GetNumElements();
  NX_CHECK(numMatches > 0);
  const NxMatch& kept = *Matches[Cursor];
  for (unsigned i = numMatches - 1; i > Cursor; --i) {
    if (!NxMatch::Overlaps(*Matches[i], kept)) continue;
    AddCardsOf(*Matches[i]);
    Matches.Remove(i, false);
  }
  ++Cursor;
}

void NxScoreCase::DeleteUnmatched(unsigned entry) {
  const unsigned numInUnmatched = NumUnmatched;
  NX_CHECK(numInUnmatched > 0);
  const unsigned last = Unmatched.GetNumElements() - 1;
  for (unsigned i = entry; i < last; ++i) Unmatched[i] = Unmatched[i + 1];
  Unmatched[last] = NoCard;
  --NumUnmatched;
}

int32_t NxScoreCase::Deadwood() {
  const unsigned numMatches = Matches.GetNumElements();
  for (unsigned entry = NumUnmatched; entry-- > 0;) {
    for (unsigned m = 0; m < numMatches; ++m) {
      if (NxMatch::Contains(*Matches[m], Unmatched[entry])) {
        DeleteUnmatched(entry);
        break;
      }
    }
  }
  int32_t points = 0;
  for (unsigned i = 0; i < NumUnmatched; ++i)
    if (Unmatched[i] != NoCard) points += CardPoints[RankOf(Unmatched[i])];
  return points;
}
