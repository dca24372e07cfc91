#include "game/table_commands.h"

#include "game/deck.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"

namespace {

// Every command's hint sits this far above its menu text.
constexpr uint32_t HINT_OFFSET = static_cast<uint32_t>(HINT_NEXT_HAND) - CM_NEXT_HAND;

bool HandNotOver(const GameState& s) { return !s.HandOver; }

bool NextHandAllowed(const TableSituation& t) { return t.State.HandOver && t.SheetExists && !t.GameOver; }

bool PassAllowedNow(const GameState& s) {
  return PassAllowed(s.Offer) && s.Play != ComputerTake && !s.HandOver;
}

}  // namespace

uint32_t CommandHintId(uint32_t command) { return HINT_OFFSET + command; }

uint32_t PopupTextId(uint32_t command) {
  if (command == CM_SORT_BY_SUIT) return POPUP_SORT_BY_SUIT_TEXT;
  if (command == CM_SCORE) return POPUP_SCORE_TEXT;
  return command;
}

bool IsCommandEnabled(uint32_t command, const TableSituation& t) {
  const GameState& s = t.State;
  switch (command) {
    case CM_NEXT_HAND: return NextHandAllowed(t);
    case CM_SCORE: return t.SheetExists && !t.SheetShown;
    case CM_PASS: return PassAllowedNow(s);
    case CM_SORT_BY_VALUE: return s.Sort != SORTED_BY_VALUE && HandNotOver(s);
    case CM_SORT_BY_SUIT: return s.Sort != SORTED_BY_SUIT && HandNotOver(s);
    case CM_SORT_BY_MELDS: return HandNotOver(s);
    case CM_HINT: return (s.Play == HumanTake || s.Play == HumanDiscard) && HandNotOver(s) && !s.Dragging;
    case CM_NEW_GAME:
    case CM_STATISTICS:
    case CM_WATCH_COMPUTER_HAND: return true;
    case CM_SCENERY: return !t.SceneryDisabled;
    case CM_RESUME_GAME: return t.ResumeOffered;
    default: return false;
  }
}

std::vector<uint32_t> PopupMenuFor(const TableSituation& t, ClickTarget target) {
  const GameState& s = t.State;
  std::vector<uint32_t> items;
  if (NextHandAllowed(t)) items.push_back(CM_NEXT_HAND);
  if (s.Play == HumanTake && !s.HandOver) {
    if (StockCardMayBeTaken(s.Offer) && target == ClickTarget::STOCK) items.push_back(CM_TAKE_STOCK_CARD);
    if (UpcardMayBeTaken(s.Offer) && target == ClickTarget::DISCARD_PILE) items.push_back(CM_TAKE_UPCARD);
    if (PassAllowed(s.Offer)) items.push_back(CM_PASS);
  }
  if (s.Play == HumanDiscard && !s.HandOver && target == ClickTarget::HAND_CARD) {
    items.push_back(CM_DISCARD_THIS_CARD);
    items.push_back(CM_KNOCK_WITH_THIS_CARD);
  }
  if (!items.empty()) items.push_back(MENU_SEPARATOR);
  bool sorts = false;
  if (IsCommandEnabled(CM_SORT_BY_VALUE, t)) items.push_back(CM_SORT_BY_VALUE), sorts = true;
  if (IsCommandEnabled(CM_SORT_BY_SUIT, t)) items.push_back(CM_SORT_BY_SUIT), sorts = true;
  if (IsCommandEnabled(CM_SORT_BY_MELDS, t)) items.push_back(CM_SORT_BY_MELDS), sorts = true;
  if (sorts) items.push_back(MENU_SEPARATOR);
  items.push_back(CM_NEW_GAME);
  if (IsCommandEnabled(CM_SCORE, t)) items.push_back(CM_SCORE);
  return items;
}

bool CommandMovesCards(uint32_t command) {
  switch (command) {
    case CM_NEXT_HAND:
    case CM_PASS:
    case CM_SORT_BY_VALUE:
    case CM_SORT_BY_SUIT:
    case CM_SORT_BY_MELDS:
    case CM_TAKE_STOCK_CARD:
    case CM_TAKE_UPCARD:
    case CM_DISCARD_THIS_CARD:
    case CM_KNOCK_WITH_THIS_CARD: return true;
    default: return false;
  }
}

PressAction LeftPressAction(const GameState& s, ClickTarget target) {
  if (s.HandOver || s.Dragging) return PressAction::NOTHING;
  if (s.Play == HumanTake) {
    if (StockCardMayBeTaken(s.Offer) && target == ClickTarget::STOCK) return PressAction::TAKE_STOCK_CARD;
    if (UpcardMayBeTaken(s.Offer) && target == ClickTarget::DISCARD_PILE) return PressAction::TAKE_UPCARD;
  }
  return target == ClickTarget::HAND_CARD ? PressAction::PICK_UP_HAND_CARD : PressAction::NOTHING;
}

namespace {

int64_t OverlapArea(const TRect& a, const TRect& b) {
  TRect common = a.Intersection(b);
  return common.IsEmpty() ? 0 : static_cast<int64_t>(common.Width()) * common.Height();
}

}  // namespace

DropAction ReleaseAction(const GameState& s, const TRect& cardRect) {
  if (s.Play != HumanDiscard || s.HandOver) return DropAction::BACK_INTO_HAND;
  const double pileArea = static_cast<double>(DISCARD_AREA.Width()) * DISCARD_AREA.Height();
  if (!s.DragFromDiscard &&
      static_cast<double>(OverlapArea(cardRect, DISCARD_AREA)) >= 0.01 * DISCARD_DROP_PERCENT * pileArea)
    return DropAction::DISCARD;
  if (OverlapArea(cardRect, KNOCK_AREA) >= KNOCK_DROP_AREA) return DropAction::KNOCK;
  return DropAction::BACK_INTO_HAND;
}

std::optional<TRect> DropPlace(const GameState& s, const NxDeck& deck, const TRect& cardRect) {
  switch (ReleaseAction(s, cardRect)) {
    case DropAction::DISCARD: return DISCARD_AREA;
    // The upcard just taken cannot be knocked with; the flow would refuse it.
    case DropAction::KNOCK:
      if (s.DragFromDiscard) return std::nullopt;
      return KNOCK_AREA;
    case DropAction::BACK_INTO_HAND: break;
  }
  const NxHand& hand = deck.Pile(HUMAN_PILE);
  const TPoint corner{cardRect.left, cardRect.top};
  const std::optional<uint32_t> slot = hand.InsertionSlot(corner, deck.CardSize());
  if (!slot) return std::nullopt;
  return TRect::At(hand.SlotCorner(*slot), deck.CardSize());
}
