#pragma once

#include <cstdint>

#include "game/rect.h"
#include "game/seats.h"

// The game table's geometry in table pixels. Everything that places, tests
// or stores a card position works in these units, whatever the scale the
// window draws at.

// Where the game table keeps its four piles.
struct PileLayout {
  TPoint Position;
  TPoint Offset;
  int32_t BaseLayer;
};

constexpr PileLayout TABLE_PILES[4] = {
    {{100, 268}, {34, 0}, 300},  // the human's hand
    {{100, 20}, {34, 0}, 200},   // the computer's hand
    {{254, 144}, {0, 0}, 100},   // the stock, stacked
    {{335, 144}, {0, 0}, 0},     // the discard pile, stacked
};

// A spread pile's Position is where the first of ten cards stands, the
// hand as dealt. The row keeps that hand's centre at every count, so the
// eleventh card taken, or an eleven-card deal, widens it to both sides
// instead of pushing it off to the right: card `i` of `n` stands here.
constexpr uint32_t CENTRED_COUNT = 10;
constexpr TPoint SpreadCardCorner(TPoint position, TPoint offset, uint32_t i, uint32_t n) {
  // The shift is the same for every card, so the row keeps its steps even
  // where an odd offset cannot be halved exactly.
  const int32_t away = static_cast<int32_t>(CENTRED_COUNT) - static_cast<int32_t>(n);
  const int32_t at = static_cast<int32_t>(i);
  return {position.x + away * offset.x / 2 + at * offset.x, position.y + away * offset.y / 2 + at * offset.y};
}

constexpr TRect TABLE_AREA = {0, 0, 576, 384};
// Lines of text on the table: the computer's latest move, in the gap below
// its hand, and the number of cards left in the stock, below the stock.
constexpr TRect MOVE_LINE_AREA = {100, 118, 572, 142};
constexpr TRect STOCK_COUNT_AREA = {244, 242, 333, 266};
// From a hand's announcement to the next deal: the hand's sum across the
// table below the piles (where the stock's count stood), and each hand's
// deadwood left of it.
constexpr TRect HAND_END_LINE_AREA = {4, 241, 572, 268};
constexpr TRect HAND_DEADWOOD_AREAS[2] = {{2, 268, 98, 364}, {2, 20, 98, 116}};  // by seat
constexpr TSize CARD_SIZE = {69, 96};
// At a hand's end the cards laid off go beside the knocker's hand, on its
// row, right of its ten cards and overlapping when there are several.
constexpr int32_t LAID_OFF_LEFT = SpreadCardCorner(TABLE_PILES[HUMAN_PILE].Position, TABLE_PILES[HUMAN_PILE].Offset,
                                                   CENTRED_COUNT - 1, CENTRED_COUNT).x +
                                  CARD_SIZE.cx + 4;
constexpr int32_t LAID_OFF_STEP = 17;
constexpr uint32_t TABLE_PILE_COUNT = 4;
constexpr uint32_t STOCK_CARDS_DEALT = 31;

// One card in size, left of the stock: a card dropped here knocks.
constexpr TRect KNOCK_AREA = {173, 144, 242, 240};
constexpr TRect STOCK_AREA = {254, 144, 254 + 69, 144 + 96};
constexpr TRect DISCARD_AREA = {335, 144, 335 + 69, 144 + 96};

// Where the computer shows a card before it moves it into its hand: 12
// pixels up and outwards from the pile it came from.
constexpr TPoint SHOWN_DISCARD_CARD = {347, 132};
constexpr TPoint SHOWN_STOCK_CARD = {242, 132};

// Drop rules: a card covering this share of the discard pile is discarded;
// one covering this many square pixels of the knock area (half a card) knocks.
constexpr double DISCARD_DROP_PERCENT = 30.0;
constexpr int32_t KNOCK_DROP_AREA = 3312;
