#include "game/deadwood.h"

#include "game/card_id.h"
#include "meld_list.h"
#include "meld_masks.h"
#include "meld_search.h"

namespace {
// Cards that lie in at least one run of three or in a rank held three or
// four times: only these can leave the deadwood.
uint64_t Meldable(uint64_t cards) {
  const uint64_t up1 = NextRankHeld(cards), up2 = RankAfterNextHeld(cards);
  const uint64_t down1 = RankBelowHeld(cards), down2 = TwoRanksBelowHeld(cards);
  const uint64_t inRun = cards & ((up1 & up2) | (down1 & up1) | (down2 & down1));
  const uint64_t inSet = cards & CardsOfRanks(SetRanks(cards));
  return inRun | inSet;
}
}  // namespace

uint64_t CardMask(const unsigned* cards, unsigned count) {
  uint64_t mask = 0;
  for (unsigned i = 0; i < count; ++i) mask |= CardBit(cards[i]);
  return mask;
}

uint64_t MeldableCards(uint64_t cards) { return Meldable(cards & ALL_CARD_BITS); }

int32_t LeastDeadwood(uint64_t cards) {
  cards &= ALL_CARD_BITS;
  const uint64_t meldable = Meldable(cards);
  const int32_t loose = PointsOf(cards & ~meldable);
  if (!meldable) return loose;
  MeldList list;
  ListMelds(meldable, nullptr, 0, list);
  return loose + MeldSearch(list, meldable).LeastDeadwood();
}
