#include "game/meld_marks.h"

#include <algorithm>
#include <vector>

#include "game/hand_score.h"
#include "game/score_iterators.h"

namespace {

uint32_t PositionInPile(const NxDeck& deck, uint32_t pile, uint32_t card) {
  for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i)
    if (deck.CardIndexAt(pile, i) == card) return i;
  return deck.CardsInPile(pile);
}

}  // namespace

CardMarks MeldMarks(const NxDeck& deck, uint32_t pile) {
  CardMarks marks{};
  if (!deck.IsLaidOut() || pile >= deck.PileCount() || deck.CardsInPile(pile) == 0) return marks;
  std::vector<unsigned> cards;
  for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i) cards.push_back(deck.CardIndexAt(pile, i));
  for (unsigned card : cards) marks[card] = DEADWOOD_MARK;
  const NxHandScore score(cards.data(), static_cast<unsigned>(cards.size()));
  // Each meld with the hand position of its leftmost card, so that the
  // numbers (and the colours drawn for them) run from left to right.
  std::vector<std::pair<uint32_t, std::vector<uint32_t>>> melds;
  NxScoreMatchIterator matches(score);
  while (matches.HasMore()) {
    NxMatchIterator meld(*matches.Next());
    std::vector<uint32_t> members;
    uint32_t leftmost = deck.CardsInPile(pile);
    while (meld.HasMore()) {
      const uint32_t card = meld.Next();
      members.push_back(card);
      leftmost = std::min(leftmost, PositionInPile(deck, pile, card));
    }
    melds.emplace_back(leftmost, std::move(members));
  }
  std::sort(melds.begin(), melds.end());
  for (size_t k = 0; k < melds.size(); ++k)
    for (uint32_t card : melds[k].second) marks[card] = static_cast<uint8_t>(k + 1);
  return marks;
}
