#include "game/hand_sort.h"

#include <algorithm>

#include "game/card_id.h"
#include "game/deck.h"
#include "game/hand_score.h"
#include "game/score_iterators.h"

namespace {
constexpr uint32_t SUIT_GROUP_ORDER[NUM_SUITS] = {HEARTS, SPADES, DIAMONDS, CLUBS};
}  // namespace

std::vector<uint32_t> OrderByValue(std::vector<uint32_t> cards, SortDirection direction) {
  std::stable_sort(cards.begin(), cards.end(), [direction](uint32_t a, uint32_t b) {
    return direction == SortDirection::ASCENDING ? RankOf(a) < RankOf(b) : RankOf(a) > RankOf(b);
  });
  return cards;
}

std::vector<uint32_t> OrderBySuit(const std::vector<uint32_t>& cards, SortDirection direction) {
  std::vector<uint32_t> order;
  order.reserve(cards.size());
  for (uint32_t suit : SUIT_GROUP_ORDER) {
    std::vector<uint32_t> group;
    for (uint32_t card : cards)
      if (SuitOf(card) == suit) group.push_back(card);
    group = OrderByValue(std::move(group), direction);
    order.insert(order.end(), group.begin(), group.end());
  }
  return order;
}

std::vector<uint32_t> OrderByMelds(const std::vector<uint32_t>& cards) {
  const std::vector<unsigned> ids(cards.begin(), cards.end());
  const NxHandScore score(ids.data(), static_cast<unsigned>(ids.size()));
  std::vector<uint32_t> order;
  if (score.BestCase()) {
    NxScoreMatchIterator melds(score);
    while (melds.HasMore()) {
      NxMatchIterator meld(*melds.Next());
      while (meld.HasMore()) order.push_back(meld.Next());
    }
  }
  std::vector<uint32_t> deadwood;
  for (uint32_t card : cards)
    if (std::find(order.begin(), order.end(), card) == order.end()) deadwood.push_back(card);
  deadwood = OrderByValue(std::move(deadwood), SortDirection::ASCENDING);
  order.insert(order.end(), deadwood.begin(), deadwood.end());
  return order;
}

void SortPile(NxDeck& deck, uint32_t pile, HandSort sort, SortDirection direction) {
  if (sort == HandSort::NONE) return;
  std::vector<uint32_t> cards = deck.PileCards(pile);
  std::vector<uint32_t> order =
      sort == HandSort::BY_VALUE ? OrderByValue(std::move(cards), direction) : OrderBySuit(cards, direction);
  deck.Arrange(pile, order.data(), static_cast<uint32_t>(order.size()));
}
