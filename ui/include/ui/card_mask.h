#pragma once

#include <cstdint>

#include "game/bitmap.h"

// The card-shaped mask: black everywhere except three white pixels in each
// corner (the corner pixel and its two neighbours along the edges), which
// round the cards off. At scale s every table pixel is an s x s block.
NxBitmap CardMask(int32_t scale);

// Blackens the picture where the mask is white, so that the deck's AND/OR
// composition lets the table show through the corners.
void ApplyCardMask(NxBitmap& picture, const NxBitmap& mask);
