#include "game/match.h"

#include "game/card_id.h"
#include "neural/check.h"

NxMatch::NxMatch(const unsigned* cards, unsigned count)
    : MatchType(MatchSet), Rank(RankOf(cards[0])), NumCards(count > 4 ? 4 : count), Cards{NoCard, NoCard, NoCard, NoCard} {
  for (unsigned i = 0; i < NumCards; ++i) Cards[i] = cards[i];
  FirstCard = Cards[0];
  LastCard = Cards[NumCards - 1];
  for (unsigned i = 0; i < NumCards; ++i) CardMask |= CardBit(Cards[i]);
}

NxMatch::NxMatch(unsigned firstCard, unsigned lastCard)
    : MatchType(MatchRun), FirstCard(firstCard), LastCard(lastCard), Rank(NUM_RANKS),
      NumCards(lastCard - firstCard + 1), Cards{NoCard, NoCard, NoCard, NoCard},
      CardMask(((uint64_t{1} << NumCards) - 1) << firstCard) {}

bool NxMatch::Includes(const NxMatch& a, const NxMatch& b) {
  if (a.MatchType != b.MatchType) return false;
  if (a.MatchType == MatchRun) return a.FirstCard <= b.FirstCard && b.LastCard <= a.LastCard;
  for (unsigned i = 0; i < b.NumCards; ++i)
    if (!Contains(a, b.Cards[i])) return false;
  return true;
}
