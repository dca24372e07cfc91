#pragma once

#include <cstdint>

#include "game/rect.h"

// The table's fixed size and the places its decorations mark, in table
// pixels. A screen with a device scale s shows every table pixel as an
// s x s block.
constexpr int32_t TABLE_WIDTH = 576;
constexpr int32_t TABLE_HEIGHT = 384;
constexpr int32_t CARD_WIDTH = 69;
constexpr int32_t CARD_HEIGHT = 96;
constexpr TRect KNOCK_AREA{173, 144, 242, 240};
constexpr TRect STOCK_AREA{254, 144, 323, 240};
constexpr TRect DISCARD_AREA{335, 144, 404, 240};
