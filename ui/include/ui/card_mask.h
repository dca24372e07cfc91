#pragma once

#include <cstdint>

#include "table/bitmap.h"

// The card-shaped mask: black everywhere except a small cut in each corner,
// which rounds the cards off: at the table's own size the corner pixel and
// its two neighbours along the edges; larger, a straight cut of the same
// reach drawn at the device resolution, so it never shows steps.
NxBitmap CardMask(double scale);

// Blackens the picture where the mask is white, so that the deck's AND/OR
// composition lets the table show through the corners.
void ApplyCardMask(NxBitmap& picture, const NxBitmap& mask);
