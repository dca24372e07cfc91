#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "game/game_state.h"
#include "game/rect.h"

class GameFlow;
class NxDeck;

// The commands of the game table, by id. The id is also the string id of
// the command's menu text.
enum TableCommand : uint32_t {
  CM_NEXT_HAND = 1101,
  CM_NEW_GAME = 1102,
  CM_RESUME_GAME = 1103,
  CM_SCORE = 1104,
  CM_STATISTICS = 1105,
  CM_PASS = 1202,
  CM_SORT_BY_VALUE = 1203,
  CM_SORT_BY_SUIT = 1204,
  CM_WATCH_COMPUTER_HAND = 1205,
  CM_SORT_BY_MELDS = 1206,
  CM_HINT = 1207,
  CM_SCENERY = 1305,
  CM_TAKE_STOCK_CARD = 1401,
  CM_TAKE_UPCARD = 1402,
  CM_DISCARD_THIS_CARD = 1403,
  CM_KNOCK_WITH_THIS_CARD = 1404,
};

// A separator in a command list.
constexpr uint32_t MENU_SEPARATOR = 0;

// String ids that go with a command: its status-bar hint, and the text it
// carries in the right-button menu where that differs from the menu bar's.
uint32_t CommandHintId(uint32_t command);
uint32_t PopupTextId(uint32_t command);

// What the window knows besides the game state: whether the score sheet
// exists and is shown, and whether its game is over.
struct TableSituation {
  const GameState& State;
  bool SheetExists = true;
  bool SheetShown = false;
  bool GameOver = false;
  bool SceneryDisabled = false;
  bool ResumeOffered = false;  // a saved game is there and no resume was tried yet
};

// Whether a command of the menu bar or the button bar is enabled now.
bool IsCommandEnabled(uint32_t command, const TableSituation& situation);

// What a right-button press hit.
enum class ClickTarget { NOTHING, STOCK, DISCARD_PILE, HAND_CARD };

// The right-button menu for a click at this moment, top to bottom, with
// MENU_SEPARATOR between groups.
std::vector<uint32_t> PopupMenuFor(const TableSituation& situation, ClickTarget target);

// Commands that move cards close the score sheet first.
bool CommandMovesCards(uint32_t command);

// What a left-button press starts, given what it hit: taking the stock card
// or the upcard into the hand (and dragging it), picking up a card of the
// hand to rearrange it, or nothing.
enum class PressAction { NOTHING, TAKE_STOCK_CARD, TAKE_UPCARD, PICK_UP_HAND_CARD };
PressAction LeftPressAction(const GameState& state, ClickTarget target);

// Where a card dragged from the hand lands when released with its corner
// rectangle at `cardRect` (table pixels): discarded, knocked with, or back
// into the hand.
enum class DropAction { BACK_INTO_HAND, DISCARD, KNOCK };
DropAction ReleaseAction(const GameState& state, const TRect& cardRect);

// The place a card held from the human's hand with its corner rectangle at
// `cardRect` would be dropped on if released now, for the window to show:
// the discard pile or the knock area when the release discards or knocks
// with it, otherwise the hand's slot it would go into (the card's rectangle
// there), or nothing when it would go back where it came from.
std::optional<TRect> DropPlace(const GameState& state, const NxDeck& deck, const TRect& cardRect);
