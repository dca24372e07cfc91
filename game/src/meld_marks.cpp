#include "game/meld_marks.h"

#include <algorithm>
#include <vector>

#include "game/hand_score.h"
#include "game/score_iterators.h"

CardMarks MeldMarks(const NxDeck& deck, uint32_t pile) {
  CardMarks marks{};
  if (!deck.IsLaidOut() || pile >= deck.PileCount() || deck.CardsInPile(pile) == 0) return marks;
  const std::vector<unsigned> cards = deck.PileCards(pile);
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
      if (const auto at = deck.PositionOf(pile, card)) leftmost = std::min(leftmost, *at);
    }
    melds.emplace_back(leftmost, std::move(members));
  }
  // Shading every card of a hand without a meld would only make it look
  // out of play.
  if (melds.empty()) return CardMarks{};
  std::sort(melds.begin(), melds.end());
  for (size_t k = 0; k < melds.size(); ++k)
    for (uint32_t card : melds[k].second) marks[card] = static_cast<uint8_t>(k + 1);
  return marks;
}
