#include "game/status_texts.h"

#include <vector>

#include "game/card_id.h"
#include "game/deadwood.h"
#include "game/deck.h"
#include "game/string_table.h"
#include "game/text_ids.h"

std::string SuitSign(uint32_t suit) {
  static const char* const SIGNS[] = {"\u2665", "\u2666", "\u2660", "\u2663"};
  return suit < 4 ? SIGNS[suit] : "";
}

std::string SelectionPaneText(SelectionKind kind, uint32_t card) {
  std::string text = ResourceString(SELECTION_LABEL);
  if (kind == SELECT_STOCK_CARD) return text + ResourceString(STOCK_WORD);
  if (kind == SELECT_KNOWN_CARD && IsCard(card))
    return text + ResourceString(RANK_ACE_TEXT + RankOf(card)) + SuitSign(SuitOf(card));
  return text;
}

std::string KnockLimitPaneText(uint32_t limit) { return ResourceString(KNOCK_LIMIT_LABEL) + std::to_string(limit); }

std::string DeadwoodPaneText(const NxDeck& deck) {
  // Before the first deal there is no hand to count.
  if (!deck.IsLaidOut()) return "";
  return ResourceString(DEADWOOD_LABEL) + std::to_string(LeastDeadwood(deck.PileMask(HUMAN_PILE)));
}

std::string StockCountText(const NxDeck& deck) {
  if (!deck.IsLaidOut()) return "";
  return ResourceString(STOCK_COUNT_LABEL) + std::to_string(deck.CardsInPile(STOCK_PILE));
}
