#pragma once

#include <cstdint>

#include "game/rect.h"

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

constexpr TRect TABLE_AREA = {0, 0, 576, 384};
constexpr TSize CARD_SIZE = {69, 96};
constexpr uint32_t TABLE_PILE_COUNT = 4;
