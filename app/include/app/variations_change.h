#pragma once

#include "app/window_update.h"
#include "game/game_flow.h"
#include "game/rules.h"
#include "store/table_parts.h"

// The Variations dialog's values as they are on the table now.
RuleChoices CurrentRuleChoices(const GameState& state);

// Applies what changed in the Variations dialog: a new variation chooses the
// network that goes with it (Oklahoma chooses at each deal) and is given to
// the score sheet; a new target gives the sheet its target and scale; any
// change of variation, ace rule or target abandons the game and deals a new
// one. A variation or target the dialog cannot offer is left as it is.
WindowUpdate ApplyVariations(const RuleChoices& chosen, TableParts& table, GameFlow& flow);

// Whether OK with these choices would abandon a game that is not over: the
// window asks first, as New Game does, and applies nothing on a no.
bool VariationsAbandonGame(const RuleChoices& chosen, const GameState& state, const ScoreRecord& record);
