#pragma once

#include <cstdint>

#include "app/window_update.h"
#include "game/game_flow.h"
#include "store/preferences.h"
#include "store/table_parts.h"

// The Select Cardback dialog's values.
struct CardbackChoices {
  uint32_t DeckId = 24456;  // 24456 to 24465
  bool RandomDeck = false;  // a different back for each game
};

CardbackChoices CurrentCardbackChoices(const GameState& state, const Preferences& preferences);

// Applies the Select Cardback dialog: a different back goes on the deck
// (the table is redrawn); the choice of a new back for each game goes to
// the preferences and the flow. An unknown back is ignored.
WindowUpdate ApplyCardback(const CardbackChoices& chosen, Preferences& preferences, TableParts& table,
                           FlowSettings& settings);
