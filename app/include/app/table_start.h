#pragma once

#include <string>

#include "app/config_switch.h"
#include "app/game_save.h"
#include "game/game_flow.h"
#include "store/table_parts.h"

// What starting a table did.
struct StartOutcome {
  bool Resumed = false;           // the saved game is on the table
  bool ResumeFailed = false;      // a saved game was there but could not be read: a new game instead
  bool NewGame = false;           // a new game was dealt
  bool Close = false;             // no networks loaded: the table closes without saving
  bool ResumeOffered = false;     // the person chose a new game: the saved game waits for Resume Game
  bool ShowIntroduction = false;  // the configuration's first play: Quorla/FirstPlay is still set
};

// Starts play on a table whose computer player is seated at the level of
// the preferences: applies the preferences and the rule choices, loads the
// statistics, and resumes the saved game when there is one and the player
// always resumes or says yes to resuming it; otherwise deals a new game.
// Resumed or ResumeFailed means the one attempt to resume was made.
StartOutcome StartTable(GameSettings& settings, TableParts& table, GameFlow& flow, const std::string& resumePath);

// The Resume Game command while play goes on: a card held with the mouse
// goes home, the score sheet closes, and the saved game replaces the table,
// abandoning a computer move in progress. When the file cannot be read the
// message announces a new game, and a new game is dealt the same way (a
// computer move in progress is abandoned). True when the saved game is on
// the table.
bool ResumeGameOnCommand(TableParts& table, GameFlow& flow, const std::string& resumePath);

// What closing a table saved.
struct CloseOutcome {
  bool ResumeWritten = false;  // CanResume is 1
  SaveReport Saved;            // the files that could not be written
};

// Saves on close, in order: the unfinished game to the resume file with
// CanResume, the rule choices, card back and preferences, then the
// statistics, then the current level's learned weights. A table marked not
// to be saved writes no resume file and no CanResume. Every file that could
// not be written is named in the outcome. Call it once the flow has granted
// the close request.
CloseOutcome CloseTable(GameSettings& settings, TableParts& table, const std::string& resumePath);
