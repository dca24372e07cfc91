#pragma once

#include <cstdint>

#include "app/window_update.h"
#include "game/game_flow.h"
#include "store/preferences.h"
#include "store/table_parts.h"

// The Dealing/Sorting dialog's values, as the preferences keep them.
struct DealingChoices {
  uint32_t DealType = 0;       // 0 traditional, 1 eleven/ten
  uint32_t HandSorting = 0;    // 0 none, 1 by face values, 2 by suits
  uint32_t SortDirection = 0;  // 0 ascending, otherwise descending
};

DealingChoices CurrentDealingChoices(const Preferences& preferences);

// Applies the Dealing/Sorting dialog: the preferences and the flow take the
// new values; a changed dealing method abandons the game and deals a new
// one, except in Oklahoma, which never deals eleven cards; the person's
// hand is then sorted by the new preference ("No sorting" leaves it).
WindowUpdate ApplyDealing(const DealingChoices& chosen, Preferences& preferences, TableParts& table, GameFlow& flow);

// Whether OK with these choices would abandon a game that is not over: the
// window asks first, as New Game does, and applies nothing on a no.
bool DealingAbandonsGame(const DealingChoices& chosen, const Preferences& preferences, const GameState& state,
                         const ScoreRecord& record);
