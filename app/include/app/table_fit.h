#pragma once

#include <cstdint>

#include "table/device_pixels.h"
#include "game/rect.h"

// How the table of TABLE_AREA's size (table pixels) is shown in a window of
// any size: one factor for both directions, the table centred, everything
// else (positions, hit tests, saved places) staying in table pixels.

// The smallest factor the table is drawn at; below it cards and labels stop
// being readable, so the window does not shrink further.
constexpr double MIN_TABLE_SCALE = 0.5;

// Device pixels per table pixel for the table to fit `area` (device pixels):
// the larger of the two directions' limits is wasted, never cut off.
double FitScale(TSize area);

// Where the table of `scale` sits in `area`: centred, in device pixels.
TRect TablePlacement(TSize area, double scale);
// The table pixel under a device point of the window, given the placement.
TPoint ToTablePoint(TPoint device, const TRect& placement, double scale);

// The table's factor on a first start: the largest at which the window
// (table plus `chrome`, the menus and bars around it) fits FIRST_START_SHARE
// of the available screen area in each direction, but at least 1.
constexpr double FIRST_START_SHARE = 0.8;
double FirstStartScale(TSize available, TSize chrome);
