#include "game/keyboard_play.h"

#include <algorithm>

#include "game/deck.h"
#include "game/table_commands.h"
#include "game/table_geometry.h"
#include "game/table_items.h"

TableFocus MoveFocus(TableFocus focus, TableKey key, uint32_t handSize) {
  using Place = TableFocus::Place;
  const uint32_t last = handSize == 0 ? 0 : handSize - 1;
  focus.Position = std::min(focus.Position, last);
  focus.PassHere = false;
  switch (key) {
    case TableKey::LEFT:
      if (focus.Where == Place::HAND && focus.Position > 0) --focus.Position;
      if (focus.Where == Place::UPCARD) focus.Where = Place::STOCK;
      break;
    case TableKey::RIGHT:
      if (focus.Where == Place::HAND && focus.Position < last) ++focus.Position;
      if (focus.Where == Place::STOCK) focus.Where = Place::UPCARD;
      break;
    case TableKey::UP:
      if (focus.Where == Place::HAND) focus.Where = Place::STOCK;
      break;
    case TableKey::DOWN: focus.Where = Place::HAND; break;
    default: break;
  }
  return focus;
}

std::optional<KeyMove> KeyMoveFor(const GameState& s, const TableFocus& focus, TableKey key, uint32_t handSize) {
  using Place = TableFocus::Place;
  if (s.HandOver || s.Dragging) return std::nullopt;
  if (key == TableKey::PASS) {
    if (s.Play == HumanTake && PassAllowed(s.Offer)) return KeyMove{CM_PASS, 0};
    return std::nullopt;
  }
  if (s.Play == HumanTake && key == TableKey::ACTIVATE) {
    if (focus.Where == Place::UPCARD && focus.PassHere && PassAllowed(s.Offer)) return KeyMove{CM_PASS, 0};
    if (focus.Where == Place::STOCK && StockCardMayBeTaken(s.Offer)) return KeyMove{CM_TAKE_STOCK_CARD, 0};
    if (focus.Where == Place::UPCARD && UpcardMayBeTaken(s.Offer)) return KeyMove{CM_TAKE_UPCARD, 0};
    return std::nullopt;
  }
  if (s.Play == HumanDiscard && focus.Where == Place::HAND && focus.Position < handSize) {
    if (key == TableKey::ACTIVATE) return KeyMove{CM_DISCARD_THIS_CARD, focus.Position};
    if (key == TableKey::KNOCK) return KeyMove{CM_KNOCK_WITH_THIS_CARD, focus.Position};
  }
  return std::nullopt;
}

TRect FocusRect(const NxDeck& deck, const TableFocus& focus) {
  using Place = TableFocus::Place;
  if (focus.Where == Place::STOCK) return STOCK_AREA;
  if (focus.Where == Place::UPCARD) return DISCARD_AREA;
  const uint32_t count = deck.CardsInPile(HUMAN_PILE);
  const PileLayout& hand = TABLE_PILES[HUMAN_PILE];
  if (count == 0) return TRect::At(SpreadCardCorner(hand.Position, hand.Offset, 0, 1), CARD_SIZE);
  // Only the part of an overlapped card that shows, so that the frame
  // never takes in its neighbour's index.
  return ShownPart(deck.Pile(HUMAN_PILE), std::min(focus.Position, count - 1));
}
