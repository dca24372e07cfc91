#pragma once

#include "game/deck.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/presentation.h"
#include "player/computer_play.h"
#include "store/score_sheet.h"

// The pieces of a game table that saving and resuming work on. The table
// owns them; these are references.
struct TableParts {
  GameFlow& Flow;
  NxDeck& Deck;
  ComputerPlay& Computer;
  ScoreSheet& Sheet;
  Presentation& View;

  const GameState& State() const { return Flow.State(); }
};
