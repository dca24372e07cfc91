#pragma once

#include <cstdint>
#include <optional>

#include "game/game_state.h"
#include "game/rect.h"

class NxDeck;

// Play without the mouse: a focus that the arrow keys move over the
// person's hand, the stock and the upcard, and the keys that make a move
// with what has the focus.
struct TableFocus {
  enum class Place { HAND, STOCK, UPCARD };
  Place Where = Place::HAND;
  uint32_t Position = 0;  // in the hand
  // Put on the upcard by the hint "pass": Enter there passes instead of
  // taking it. Any move of the frame ends it.
  bool PassHere = false;
  bool operator==(const TableFocus&) const = default;
};

enum class TableKey { LEFT, RIGHT, UP, DOWN, ACTIVATE, KNOCK, PASS };

// Left and right walk along the hand, or between the stock and the upcard;
// up leaves the hand for the piles and down comes back. The hand position is
// kept within a hand of `handSize` cards.
TableFocus MoveFocus(TableFocus focus, TableKey key, uint32_t handSize);

// The table command a key press makes with the focus (CM_TAKE_STOCK_CARD,
// CM_DISCARD_THIS_CARD, ...) and the hand position it acts on; nothing when
// the move is not allowed now. Enter takes the focused pile's card or
// discards the focused card, K knocks with it, P passes.
struct KeyMove {
  uint32_t Command = 0;
  uint32_t Position = 0;
};
std::optional<KeyMove> KeyMoveFor(const GameState& state, const TableFocus& focus, TableKey key, uint32_t handSize);

// Where the focus frame goes on the table: the focused card's rectangle, or
// the pile's place.
TRect FocusRect(const NxDeck& deck, const TableFocus& focus);
