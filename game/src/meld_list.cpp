#include "meld_list.h"

#include "meld_masks.h"

namespace {

// Cards that start a sequence of at least three present cards of their
// suit: the next two ranks are present and the rank below is not.
uint64_t RunStarts(uint64_t cards) {
  return cards & NextRankHeld(cards) & RankAfterNextHeld(cards) & ~RankBelowHeld(cards);
}

uint64_t RunFrom(uint64_t cards, unsigned low) {
  unsigned high = low + 2;
  while (RankOf(high) < NUM_RANKS - 1 && (cards >> (high + 1) & 1)) ++high;
  return (CardBit(high + 1) - 1) & ~(CardBit(low) - 1);
}

void Add(MeldList& list, uint64_t meld) {
  list.Melds[list.Count] = meld;
  list.SharesCards[list.Count] = false;
  ++list.Count;
}

void AddLongestRuns(uint64_t cards, const unsigned* order, unsigned count, MeldList& list) {
  uint64_t starts = RunStarts(cards);
  if (order) {
    for (unsigned i = 0; i < count && starts; ++i) {
      if (!(starts >> order[i] & 1)) continue;
      starts &= ~CardBit(order[i]);
      Add(list, RunFrom(cards, order[i]));
    }
  }
  for (; starts; starts &= starts - 1) Add(list, RunFrom(cards, static_cast<unsigned>(__builtin_ctzll(starts))));
}

void AddSets(uint64_t cards, MeldList& list) {
  for (uint64_t ranks = SetRanks(cards); ranks; ranks &= ranks - 1)
    Add(list, cards & RankBits(static_cast<unsigned>(__builtin_ctzll(ranks))));
}

void MarkSharedCards(MeldList& list) {
  for (unsigned i = 0; i < list.Count; ++i)
    for (unsigned j = i + 1; j < list.Count; ++j)
      if (list.Melds[i] & list.Melds[j]) list.SharesCards[i] = list.SharesCards[j] = true;
}

void AddShorterRuns(uint64_t run, MeldList& list) {
  const unsigned low = static_cast<unsigned>(__builtin_ctzll(run));
  const unsigned length = static_cast<unsigned>(__builtin_popcountll(run));
  for (unsigned shorter = 3; shorter < length; ++shorter)
    for (unsigned first = low; first + shorter <= low + length; ++first)
      Add(list, (CardBit(shorter) - 1) << first);
}

void AddSetsOfThree(uint64_t set, MeldList& list) {
  uint64_t cards[4];
  unsigned n = 0;
  for (uint64_t rest = set; rest; rest &= rest - 1) cards[n++] = rest & -rest;
  for (unsigned left : {3, 0, 1, 2}) Add(list, set & ~cards[left]);
}

void AddInnerMelds(MeldList& list) {
  const unsigned longest = list.Count;
  for (unsigned i = 0; i < longest; ++i) {
    const uint64_t meld = list.Melds[i];
    if (!list.SharesCards[i] || __builtin_popcountll(meld) == 3) continue;
    const unsigned first = list.Count;
    if (IsRunMeld(meld))
      AddShorterRuns(meld, list);
    else
      AddSetsOfThree(meld, list);
    for (unsigned k = first; k < list.Count; ++k) list.SharesCards[k] = true;
  }
}

}  // namespace

void ListMelds(uint64_t cards, const unsigned* order, unsigned count, MeldList& list) {
  list.Count = 0;
  cards &= ALL_CARD_BITS;
  AddLongestRuns(cards, order, count, list);
  AddSets(cards, list);
  MarkSharedCards(list);
  AddInnerMelds(list);
}
