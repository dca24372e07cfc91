#pragma once

#include <cstdint>

#include "game/rect.h"

// From table pixels to the device pixels of a picture drawn at any factor
// (whole or not). The table is composed at the size it is shown, so every
// edge has to land on the same device pixel wherever it is computed.

// The start of the run of device pixels that table pixel v begins in
// (rounding down), so neighbouring runs touch without gaps or overlaps.
int32_t ToDevice(int32_t v, double scale);
// The device pixels that cover a table rectangle entirely (edges rounded
// outwards): everything a change in that rectangle touched.
TRect DeviceCover(const TRect& tableRect, double scale);
// A picture's size in device pixels for `tableSize` table pixels, rounded to
// nearest: placed at ToDevice of its corner it never reaches past
// DeviceCover of its table rectangle.
TSize DeviceSize(TSize tableSize, double scale);
