#pragma once

#include <optional>
#include <vector>

#include "game/deck.h"
#include "game/rect.h"

// Where the table's boxes go: clear of the cards, so that the hand a box
// speaks about can be read while the box is up.

// What a box must not cover, in table pixels: every card shown on the
// table and the knock area, and at a hand's end its sum and the deadwood
// beside each hand.
std::vector<TRect> TableAreasToKeepClear(const NxDeck& deck, bool handEndShown);

// The top left corner for a box of `box` within `screen` that covers none
// of `keepClear` (all in screen pixels): inside `window` as near its middle
// as there is room, else beside the window (right, left, below, above);
// nothing when there is no such place, and the box goes where it would.
std::optional<TPoint> PlaceClearOf(const std::vector<TRect>& keepClear, TSize box, const TRect& window,
                                   const TRect& screen);
