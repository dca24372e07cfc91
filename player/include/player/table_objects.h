#pragma once

#include <cstdint>
#include <memory>

#include "game/deck.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/score_record.h"
#include "game/table_geometry.h"
#include "player/computer_play.h"

// The game objects of one table, created and wired in the order they
// depend on each other and destroyed in reverse: the state, the deck, the
// score record, the flow, and the computer player. The window, the
// arena and the tests all hold a table this way.
class TableObjects {
 public:
  TableObjects(Presentation& view, uint32_t target = 100);
  ~TableObjects();

  TableObjects(const TableObjects&) = delete;
  TableObjects& operator=(const TableObjects&) = delete;

  // Creates the computer player at `level`, builds its networks, loads the
  // level's weights and seats it at the table. False when no weights
  // loaded (the table is then marked to close).
  bool SeatComputer(uint32_t level);
  // Seeds the deck's shuffle and the game's own choices, for repeatable play.
  void Seed(int32_t seed);

  // Read here; changed by the flow's operations.
  const GameState& State() const { return TheState; }

 private:
  GameState TheState;
  // Tests put the table into positions that play reaches only slowly.
  friend struct TableScenario;

 public:
  NxDeck Deck;
  ScoreRecord Record;
  GameFlow Flow;
  std::unique_ptr<ComputerPlay> Computer;
};
