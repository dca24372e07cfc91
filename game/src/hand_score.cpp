#include "game/hand_score.h"

#include <algorithm>

#include "game/card_id.h"
#include "meld_list.h"
#include "meld_search.h"
#include "neural/check.h"

namespace {

NxMatch MatchOf(uint64_t meld) {
  if (IsRunMeld(meld))
    return NxMatch(static_cast<unsigned>(__builtin_ctzll(meld)), static_cast<unsigned>(63 - __builtin_clzll(meld)));
  unsigned cards[NUM_SUITS];
  unsigned count = 0;
  for (; meld && count < NUM_SUITS; meld &= meld - 1) cards[count++] = static_cast<unsigned>(__builtin_ctzll(meld));
  return NxMatch(cards, count);
}

// The deadwood cards in the order the search over melds kept as lists
// would leave them: the cards outside every meld in the hand's order, then,
// in list order, the cards of each meld given up, or, when a meld is kept,
// those of the later melds it takes cards from, from the last of them back.
// Players read the deadwood in this order, so it is part of their play.
class DeadwoodOrder {
 public:
  DeadwoodOrder(const MeldList& list, const MeldSearch& search, std::vector<unsigned>& cards)
      : List(list), Search(search), Cards(cards) {}

  void Collect(const unsigned* hand, unsigned count) {
    Cards.clear();
    Cards.reserve(count);
    uint64_t inAnyMeld = 0;
    for (unsigned i = 0; i < List.Count; ++i) inAnyMeld |= List.Melds[i];
    for (unsigned i = 0; i < count; ++i)
      if (!(inAnyMeld >> hand[i] & 1)) Note(hand[i]);
    FollowTheSearch();
    const uint64_t covered = Search.Covered();
    std::erase_if(Cards, [covered](unsigned card) { return covered >> card & 1; });
  }

 private:
  void Note(unsigned card) {
    Cards.push_back(card);
    Listed |= CardBit(card);
  }

  void GiveUp(uint64_t meld) {
    for (; meld; meld &= meld - 1) {
      const unsigned card = static_cast<unsigned>(__builtin_ctzll(meld));
      if (!(Listed >> card & 1)) Note(card);
    }
  }

  void Remove(unsigned at) {
    std::copy(Live + at + 1, Live + NumLive, Live + at);
    --NumLive;
  }

  void FollowTheSearch() {
    for (unsigned i = 0; i < List.Count; ++i) Live[i] = i;
    NumLive = List.Count;
    for (unsigned at = 0; at < NumLive;) {
      const unsigned index = Live[at];
      if (!List.SharesCards[index]) {
        ++at;
      } else if (!Search.Keeps(index)) {
        GiveUp(List.Melds[index]);
        Remove(at);
      } else {
        for (unsigned later = NumLive - 1; later > at; --later) {
          if (!(List.Melds[Live[later]] & List.Melds[index])) continue;
          GiveUp(List.Melds[Live[later]]);
          Remove(later);
        }
        ++at;
      }
    }
  }

  const MeldList& List;
  const MeldSearch& Search;
  std::vector<unsigned>& Cards;
  uint64_t Listed = 0;
  // The melds not yet given up, as list indices.
  unsigned Live[MeldList::CAPACITY];
  unsigned NumLive = 0;
};

}  // namespace

NxHandScore::NxHandScore(const unsigned* cards, unsigned numCards, const NxHandScore* knockerScore) {
  // Laying off, the knocker's melds join the hand after its own cards.
  std::vector<unsigned> pooled;
  if (knockerScore && knockerScore->Found && !knockerScore->Best.Melds.empty()) {
    pooled.assign(cards, cards + numCards);
    for (const NxMatch& meld : knockerScore->Best.Melds) {
      KnockerMelds.push_back(meld.CardMask);
      for (unsigned i = 0; i < meld.NumCards; ++i) pooled.push_back(NxMatch::CardAt(meld, i));
    }
    cards = pooled.data();
    numCards = static_cast<unsigned>(pooled.size());
  }
  uint64_t present = 0;
  for (unsigned i = 0; i < numCards; ++i) {
    NX_CHECK(cards[i] < NUM_CARDS);
    present |= CardBit(cards[i]);
  }
  MeldList list;
  ListMelds(present, cards, numCards, list);
  const MeldSearch search(list, present, KnockerMelds.data(), static_cast<unsigned>(KnockerMelds.size()));
  if (!search.Found()) return;
  Found = true;
  BestPoints = search.LeastDeadwood();
  unsigned kept = 0;
  for (unsigned i = 0; i < list.Count; ++i) kept += search.Keeps(i);
  Best.Melds.reserve(kept);
  for (unsigned i = 0; i < list.Count; ++i)
    if (search.Keeps(i)) Best.Melds.push_back(MatchOf(list.Melds[i]));
  DeadwoodOrder(list, search, Best.Deadwood).Collect(cards, numCards);
}
