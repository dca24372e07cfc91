#pragma once

#include <string>

#include "app/game_save.h"
#include "game/game_flow.h"
#include "store/game_settings.h"
#include "store/player_configs.h"
#include "store/preferences.h"
#include "store/table_parts.h"

// The preferences the flow consults when it deals.
void ApplyPreferences(const Preferences& preferences, FlowSettings& settings);
// Puts the rule choices and card back read from the settings on the table,
// with the network that goes with the variation.
void ApplyTableChoices(const TableChoices& choices, TableParts& table);

struct SwitchOutcome {
  bool Switched = false;
  bool Resumed = false;         // the new configuration's saved game is on the table
  bool ResumeAttempted = false; // its saved game was read, whatever the outcome
  bool ToolbarChanged = false;  // the frame must be laid out again
  SaveReport Saved;             // what the save before the switch could not write
};

// Switches to the chosen configuration when it is not the one in use: saves
// the game and everything else to the old one when asked, makes the chosen
// one current, opens its settings, loads its networks (or the defaults),
// marks the introduction as seen, and then resumes its saved game (when
// there is one and it always resumes or the person says yes) or starts a
// new game with its rule choices. A configuration another running copy
// uses is refused with a message, before anything is saved. Drawing
// (cursor, frame, backdrop) is left to the window.
SwitchOutcome SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, GameSettings& settings,
                                  TableParts& table, GameFlow& flow, bool saveFirst);
