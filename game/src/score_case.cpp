#include "game/score_case.h"

#include <cstring>

#include "game/card_id.h"
#include "neural/check.h"

void NxMatchList::CopyFrom(const NxPtrArray<NxMatch>& other) {
  const unsigned count = other.GetNumElements();
  NumElements = 0;
  if (count == 0) return;
  Reallocate(count);
  std::memcpy(Array, static_cast<NxMatch**>(other), count * sizeof(void*));
  NumElements = count;
}

NxScoreCase::NxScoreCase(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count) {
  Reset(matches, cards, count);
}

void NxScoreCase::Reset(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards, unsigned count) {
  Matches.CopyFrom(matches);
  Unmatched.Flush();
  UnmatchedMask = 0;
  Cursor = 0;
  for (unsigned i = 0; i < count; ++i) {
    Unmatched.Add(cards[i]);
    UnmatchedMask |= CardBit(cards[i]);
  }
  NumUnmatched = count;
}

NxScoreCase::NxScoreCase(const NxScoreCase& other) { *this = other; }

NxScoreCase& NxScoreCase::operator=(const NxScoreCase& other) {
  if (this == &other) return *this;
  Matches.CopyFrom(other.Matches);
  Unmatched = other.Unmatched;
  Cursor = other.Cursor;
  NumUnmatched = other.NumUnmatched;
  UnmatchedMask = other.UnmatchedMask;
  return *this;
}

void NxScoreCase::AddUnmatched(unsigned card) {
  const uint64_t bit = CardBit(card);
  if (UnmatchedMask & bit) return;
  UnmatchedMask |= bit;
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
  Matches.RemoveAt(Cursor);
}

void NxScoreCase::KeepCurrent() {
  const unsigned numMatches = Matches.GetNumElements();
  NX_CHECK(numMatches > 0);
  const NxMatch& kept = *Matches[Cursor];
  for (unsigned i = numMatches - 1; i > Cursor; --i) {
    if (!NxMatch::Overlaps(*Matches[i], kept)) continue;
    AddCardsOf(*Matches[i]);
    Matches.RemoveAt(i);
  }
  ++Cursor;
}

int32_t NxScoreCase::Deadwood() {
  // A card is covered when any remaining meld contains it.
  uint64_t covered = 0;
  for (unsigned m = 0; m < Matches.GetNumElements(); ++m) covered |= Matches[m]->CardMask;
  // Deleting covered entries one by one, each time shifting the rest of the
  // array down and writing NoCard into the last slot, ends with the kept
  // entries in their order followed by NoCard up to the end of the array;
  // one pass gives the same.
  unsigned* cards = Unmatched.Data();
  const unsigned size = Unmatched.GetNumElements();
  unsigned kept = 0;
  int32_t points = 0;
  for (unsigned entry = 0; entry < NumUnmatched; ++entry) {
    const unsigned card = cards[entry];
    if (covered >> card & 1) {
      UnmatchedMask &= ~CardBit(card);
      continue;
    }
    cards[kept++] = card;
    if (card != NoCard) points += CardPoints[RankOf(card)];
  }
  for (unsigned i = kept; i < size; ++i) cards[i] = NoCard;
  NumUnmatched = kept;
  return points;
}
