#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/keyboard_play.h"
#include "game/meld_marks.h"
#include "game/rect.h"

class NxDeck;
class NxHand;

// The things on the table a person can see and act on, each with the part
// of the table it shows in and the name a screen reader says for it
// ("Seven of hearts, in your hand"). Cards lying face down are not named by
// value.
struct TableItem {
  enum class Kind { COMPUTER_CARD, KNOCK_AREA, STOCK, DISCARD_PILE, HELD_CARD, HAND_CARD };
  Kind What;
  uint32_t Position = 0;  // in its hand, for the hands' cards
  TRect Rect;             // the part that shows, in table pixels
  std::string Name;
};

// The part of a hand's card that shows: up to where the next card, lying
// on it, starts.
TRect ShownPart(const NxHand& hand, uint32_t position);

// A card's spoken name, such as "Seven of hearts".
std::string SpokenCardName(uint32_t card);

// The table as it stands, in reading order: the computer's hand, the knock
// area, the stock, the discard pile, a card the person holds, the person's
// hand. Before the first deal only the places are there. A hand card the
// table marks (`marks`, as drawn) says whether it is in a meld or deadwood.
std::vector<TableItem> TableItems(const NxDeck& deck, const CardMarks& marks = {});

// Which of the items the keyboard focus is on.
std::optional<size_t> FocusedItem(const std::vector<TableItem>& items, const TableFocus& focus);
