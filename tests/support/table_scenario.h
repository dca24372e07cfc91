#pragma once

#include "game/game_state.h"
#include "player/table_objects.h"

// Puts a table straight into a position that play would reach only after
// many moves, or never (a damaged state a reader must refuse). Only tests
// write the state this way; the program changes it through the flow.
struct TableScenario {
  static GameState& State(TableObjects& table) { return table.TheState; }
};
