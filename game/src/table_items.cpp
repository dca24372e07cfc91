#include "game/table_items.h"

#include "game/card_id.h"
#include "game/deck.h"
#include "game/string_table.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"

namespace {

using Kind = TableItem::Kind;

std::string NameIfFaceUp(const NxCard& card) {
  return card.IsFaceUp() ? SpokenCardName(card.Index()) : ResourceString(FACE_DOWN_CARD_NAME);
}

const char* MarkName(const NxCard& card, const CardMarks& marks) {
  if (!card.IsFaceUp() || !IsCard(card.Index())) return "";
  const uint8_t mark = marks[card.Index()];
  return mark == NO_MARK ? "" : ResourceString(mark == DEADWOOD_MARK ? MARK_DEADWOOD : MARK_IN_A_MELD);
}

void AddHand(std::vector<TableItem>& items, const NxDeck& deck, uint32_t pile, const CardMarks& marks) {
  const NxHand& hand = deck.Pile(pile);
  const Kind kind = pile == HUMAN_PILE ? Kind::HAND_CARD : Kind::COMPUTER_CARD;
  const char* place = ResourceString(pile == HUMAN_PILE ? PLACE_YOUR_HAND : PLACE_COMPUTERS_HAND);
  for (uint32_t i = 0; i < hand.Count; ++i) {
    const NxCard& card = *hand.Cards[i];
    items.push_back({kind, i, ShownPart(hand, i), NameIfFaceUp(card) + place + MarkName(card, marks)});
  }
}

std::string StockName(uint32_t count) {
  return ResourceString(STOCK_NAME) + std::to_string(count) +
         ResourceString(count == 1 ? STOCK_ONE_CARD_NAME : STOCK_CARDS_NAME);
}

std::string DiscardPileName(const NxDeck& deck) {
  const uint32_t count = deck.CardsInPile(DISCARD_PILE);
  if (count == 0) return ResourceString(DISCARD_PILE_EMPTY_NAME);
  return NameIfFaceUp(*deck.Pile(DISCARD_PILE).Cards[count - 1]) + ResourceString(PLACE_DISCARD_PILE);
}

}  // namespace

// A hand's cards overlap in a row, each later one on top.
TRect ShownPart(const NxHand& hand, uint32_t position) {
  TRect shown = hand.Cards[position]->Rect();
  if (position + 1 < hand.Count) {
    const TRect& next = hand.Cards[position + 1]->Rect();
    if (next.Intersects(shown) && next.top <= shown.top && next.bottom >= shown.bottom && next.left > shown.left)
      shown.right = next.left;
  }
  return shown;
}

std::string SpokenCardName(uint32_t card) {
  if (!IsCard(card)) return "";
  return std::string(ResourceString(CARD_NAME_ACE + RankOf(card))) + ResourceString(CARD_NAME_OF) +
         ResourceString(SUIT_NAME_HEARTS + SuitOf(card));
}

std::vector<TableItem> TableItems(const NxDeck& deck, const CardMarks& marks) {
  std::vector<TableItem> items;
  const bool dealt = deck.IsLaidOut();
  if (dealt) AddHand(items, deck, COMPUTER_PILE, marks);
  items.push_back({Kind::KNOCK_AREA, 0, KNOCK_AREA, ResourceString(KNOCK_AREA_NAME)});
  items.push_back({Kind::STOCK, 0, STOCK_AREA, StockName(dealt ? deck.CardsInPile(STOCK_PILE) : 0)});
  items.push_back({Kind::DISCARD_PILE, 0, DISCARD_AREA,
                   dealt ? DiscardPileName(deck) : ResourceString(DISCARD_PILE_EMPTY_NAME)});
  if (const NxCard* held = deck.HeldCard())
    items.push_back({Kind::HELD_CARD, 0, held->Rect(), NameIfFaceUp(*held) + ResourceString(PLACE_HELD)});
  if (dealt) AddHand(items, deck, HUMAN_PILE, marks);
  return items;
}

std::optional<size_t> FocusedItem(const std::vector<TableItem>& items, const TableFocus& focus) {
  using Place = TableFocus::Place;
  for (size_t i = 0; i < items.size(); ++i) {
    const TableItem& item = items[i];
    if ((focus.Where == Place::STOCK && item.What == Kind::STOCK) ||
        (focus.Where == Place::UPCARD && item.What == Kind::DISCARD_PILE) ||
        (focus.Where == Place::HAND && item.What == Kind::HAND_CARD && item.Position == focus.Position))
      return i;
  }
  return std::nullopt;
}
