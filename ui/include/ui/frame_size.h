#pragma once

#include <cstdint>

#include "neural/geometry.h"

struct Preferences;

// The button bar takes this much room beside (right or left) or above or
// below (top or bottom) the table.
constexpr int32_t VERTICAL_BAR_WIDTH = 36;
constexpr int32_t HORIZONTAL_BAR_HEIGHT = 30;

// What the button bar adds to the window: nothing when it is hidden.
TSize ButtonBarAddition(const Preferences& preferences);

// The outer size of the main window for the given caption and menu heights:
// 588 wide and ((caption + menu - 38) * 13) / 10 + 453 high, plus the
// button bar.
TSize FrameWindowSize(int32_t captionHeight, int32_t menuHeight, const Preferences& preferences);

// The work area hides part of the window when it is narrower than the
// window's width minus 2 or lower than its height minus 2.
bool WorkAreaTooSmall(TSize workArea, TSize window);
