#pragma once

#include <cstdint>

#include "game/deck.h"
#include "game/game_state.h"
#include "game/presentation.h"

class ScoreRecord;

// What the computer player reaches of the table it plays at: the record of
// the hand, the deck, the presentation, and the scoring of a knock.
class GinTable {
 public:
  virtual ~GinTable() = default;

  virtual GameState& State() = 0;
  virtual NxDeck& Deck() = 0;
  virtual Presentation& View() = 0;
  // The running totals of the game, where the table keeps them.
  virtual const ScoreRecord* Scores() const { return nullptr; }
  // Scores a knock by `player` whose knock card already lies on the discard
  // pile; false when the knock was illegal.
  virtual bool EvaluateKnock(uint32_t player) = 0;
  // Shows the card on top of the discard pile on the knock area.
  virtual void ShowKnockCard() = 0;
  // Counts the hands put on the table, dealt or restored. A command handled
  // while the computer thinks may replace the hand; the move thought out
  // for the old one must then not be made.
  virtual uint64_t HandSerial() const { return 0; }
};
