#include "game/meld_marks.h"

#include <algorithm>
#include <vector>

#include "game/deadwood.h"
#include "game/hand_score.h"
#include "game/score_iterators.h"

namespace {

// The marks of `cards`, some or all of the cards of `pile`: their melds
// numbered from the hand's left, and the rest as deadwood.
CardMarks MarksOfCards(const NxDeck& deck, uint32_t pile, const std::vector<unsigned>& cards) {
  CardMarks marks{};
  if (cards.empty()) return marks;
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

uint64_t BitOf(uint32_t card) { return uint64_t{1} << card; }

}  // namespace

CardMarks MeldMarks(const NxDeck& deck, uint32_t pile) {
  if (!deck.IsLaidOut() || pile >= deck.PileCount()) return CardMarks{};
  return MarksOfCards(deck, pile, deck.PileCards(pile));
}

CardMarks HandEndMarks(const NxDeck& deck, const LaidOffList& laidOff) {
  if (!deck.IsLaidOut()) return CardMarks{};
  uint64_t laidOffCards = 0;
  for (uint32_t i = 0; i < laidOff.Count; ++i)
    if (laidOff.Cards[i] < NUM_CARDS) laidOffCards |= BitOf(laidOff.Cards[i]);
  const uint32_t defender = laidOff.Player;
  const uint32_t knocker = OtherSeat(defender);
  CardMarks knockerMarks = MeldMarks(deck, PileOf(knocker));
  std::vector<unsigned> kept;
  for (unsigned card : deck.PileCards(PileOf(defender)))
    if ((laidOffCards & BitOf(card)) == 0) kept.push_back(card);
  CardMarks marks = MarksOfCards(deck, PileOf(defender), kept);
  // The defender's own melds are numbered after the knocker's, so that only
  // a laid-off card shares the band of a knocker's meld.
  uint8_t knockerMelds = 0;
  for (uint8_t mark : knockerMarks)
    if (mark != DEADWOOD_MARK) knockerMelds = std::max(knockerMelds, mark);
  for (uint32_t card = 0; card < NUM_CARDS; ++card) {
    if (marks[card] != NO_MARK && marks[card] != DEADWOOD_MARK && laidOff.Count > 0) marks[card] += knockerMelds;
    if (knockerMarks[card] != NO_MARK) marks[card] = knockerMarks[card];
  }
  // Each laid-off card takes the band of the knocker's meld it joins; a
  // card that extends a run only through another laid-off card joins once
  // that one has.
  std::array<uint64_t, NUM_CARDS> meldCards{};
  for (uint32_t card = 0; card < NUM_CARDS; ++card)
    if (knockerMarks[card] != NO_MARK && knockerMarks[card] != DEADWOOD_MARK) meldCards[knockerMarks[card]] |= BitOf(card);
  for (bool joined = true; joined && laidOffCards != 0;) {
    joined = false;
    for (uint32_t card = 0; card < NUM_CARDS; ++card) {
      if ((laidOffCards & BitOf(card)) == 0) continue;
      for (uint32_t meld = 1; meld < NUM_CARDS && meldCards[meld] != 0; ++meld) {
        if (LeastDeadwood(meldCards[meld] | BitOf(card)) != 0) continue;
        meldCards[meld] |= BitOf(card);
        marks[card] = static_cast<uint8_t>(meld);
        laidOffCards &= ~BitOf(card);
        joined = true;
        break;
      }
    }
  }
  return marks;
}
