#include "game/deadwood.h"

#include <algorithm>

#include "game/card_id.h"
#include "meld_masks.h"

namespace {

int32_t Points(uint64_t cards) {
  int32_t points = 0;
  for (; cards; cards &= cards - 1) points += CardPoints[RankOf(static_cast<unsigned>(__builtin_ctzll(cards)))];
  return points;
}

// Cards that lie in at least one run of three or in a rank held three or
// four times: only these can leave the deadwood.
uint64_t Meldable(uint64_t cards) {
  const uint64_t up1 = NextRankHeld(cards), up2 = RankAfterNextHeld(cards);
  const uint64_t down1 = RankBelowHeld(cards), down2 = TwoRanksBelowHeld(cards);
  const uint64_t inRun = cards & ((up1 & up2) | (down1 & up1) | (down2 & down1));
  const uint64_t inSet = cards & CardsOfRanks(SetRanks(cards));
  return inRun | inSet;
}

// Search over the lowest card: it is either deadwood or the lowest card of
// one of the melds that contain it.
int32_t Search(uint64_t cards) {
  const uint64_t meldable = Meldable(cards);
  int32_t loose = Points(cards & ~meldable);
  cards = meldable;
  if (!cards) return loose;

  const unsigned low = static_cast<unsigned>(__builtin_ctzll(cards));
  const uint64_t rest = cards & ~CardBit(low);
  int32_t best = CardPoints[RankOf(low)] + Search(rest);

  // Runs upwards from the lowest card, three cards or longer.
  uint64_t run = CardBit(low);
  for (unsigned card = low + 1; RankOf(card) > RankOf(low) && (cards & CardBit(card)); ++card) {
    run |= CardBit(card);
    if (card - low >= 2) best = std::min(best, Search(cards & ~run));
  }

  // Sets: every other card of its rank held has a higher id.
  uint64_t others = cards & RankBits(RankOf(low)) & ~CardBit(low);
  for (uint64_t a = others; a; a &= a - 1) {
    const uint64_t first = a & -a;
    for (uint64_t b = a & (a - 1); b; b &= b - 1) {
      const uint64_t second = b & -b;
      best = std::min(best, Search(rest & ~(first | second)));
    }
  }
  if (__builtin_popcountll(others) == 3) best = std::min(best, Search(rest & ~others));
  return loose + best;
}

}  // namespace

uint64_t CardMask(const unsigned* cards, unsigned count) {
  uint64_t mask = 0;
  for (unsigned i = 0; i < count; ++i) mask |= CardBit(cards[i]);
  return mask;
}

uint64_t MeldableCards(uint64_t cards) { return Meldable(cards & ALL_CARD_BITS); }

int32_t LeastDeadwood(uint64_t cards) { return Search(cards & ALL_CARD_BITS); }
