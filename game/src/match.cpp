#include "game/match.h"

#include "game/card_id.h"
#include "neural/check.h"

NxMatch::NxMatch(const unsigned* cards, unsigned count)
    : MatchType(MatchSet), Rank(RankOf(cards[0])), NumCards(count > 4 ? 4 : count), Cards{NoCard, NoCard, NoCard, NoCard} {
  for (unsigned i = 0; i < NumCards; ++i) Cards[i] = cards[i];
  FirstCard = Cards[0];
  LastCard = Cards[NumCards - 1];
}

NxMatch::NxMatch(unsigned firstCard, unsigned lastCard)
    : MatchType(MatchRun), FirstCard(firstCard), LastCard(lastCard), Rank(NUM_RANKS),
      NumCards(lastCard - firstCard + 1), Cards{NoCard, NoCard, NoCard, NoCard} {}

NxMatch::NxMatch(const NxMatch& other) { *this = other; }

NxMatch& NxMatch::operator=(const NxMatch& other) {
  if (this == &other) return *this;
  MatchType = other.MatchType;
  FirstCard = other.FirstCard;
  LastCard = other.LastCard;
  Rank = other.Rank;
  NumCards = other.NumCards;
  for (unsigned i = 0; i < 4; ++i) Cards[i] = other.Cards[i];
  IsOverlapping = other.IsOverlapping;
  SubMatches.Flush(false);
  for (unsigned i = 0; i < other.SubMatches.GetNumElements(); ++i) SubMatches.Add(other.SubMatches[i]);
  return *this;
}

namespace {
bool SetHasCardIn(const NxMatch& set, unsigned low, unsigned high) {
  for (unsigned i = 0; i < set.NumCards; ++i)
    if (set.Cards[i] >= low && set.Cards[i] <= high) return true;
  return false;
}
}  // namespace

bool NxMatch::Overlaps(const NxMatch& a, const NxMatch& b) {
  if (a.MatchType == MatchRun && b.MatchType == MatchRun)
    return a.FirstCard <= b.LastCard && b.FirstCard <= a.LastCard;
  if (a.MatchType == MatchRun) return SetHasCardIn(b, a.FirstCard, a.LastCard);
  if (b.MatchType == MatchRun) return SetHasCardIn(a, b.FirstCard, b.LastCard);
  // Two sets of one rank always compete for the same cards.
  return a.Rank == b.Rank;
}

bool NxMatch::Contains(const NxMatch& m, unsigned card) {
  if (m.MatchType == MatchRun) return m.FirstCard <= card && card <= m.LastCard;
  for (unsigned i = 0; i < m.NumCards; ++i)
    if (m.Cards[i] == card) return true;
  return false;
}

bool NxMatch::Includes(const NxMatch& a, const NxMatch& b) {
  if (a.MatchType != b.MatchType) return false;
  if (a.MatchType == MatchRun) return a.FirstCard <= b.FirstCard && b.LastCard <= a.LastCard;
  for (unsigned i = 0; i < b.NumCards; ++i)
    if (!Contains(a, b.Cards[i])) return false;
  return true;
}

unsigned NxMatch::CardAt(const NxMatch& m, unsigned i) {
  if (m.MatchType == MatchRun) return m.FirstCard + i;
  if (m.MatchType == MatchSet && i < 4) return m.Cards[i];
  return NoCard;
}

NxPtrArray<NxMatch>& NxMatch::GetSubMatches() {
  SubMatches.Flush(false);
  if (!IsOverlapping || NumCards == 3) return SubMatches;
  if (MatchType == MatchRun) {
    for (unsigned length = 3; length < NumCards; ++length)
      for (unsigned first = FirstCard; first + length - 1 <= LastCard; ++first)
        SubMatches.Add(new NxMatch(first, first + length - 1));
  } else if (NumCards == 4) {
    const unsigned* c = Cards;
    const unsigned triples[4][3] = {{c[0], c[1], c[2]}, {c[1], c[2], c[3]}, {c[0], c[2], c[3]}, {c[0], c[1], c[3]}};
    for (const auto& triple : triples) SubMatches.Add(new NxMatch(triple, 3));
  }
  for (unsigned i = 0; i < SubMatches.GetNumElements(); ++i) SubMatches[i]->IsOverlapping = true;
  return SubMatches;
}
