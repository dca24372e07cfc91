#pragma once

#include <cstdint>

#include "game/deck.h"
#include "game/game_state.h"
#include "game/presentation.h"

class ScoreRecord;

// What the computer player reaches of the table it plays at: the record of
// the hand to read, the changes its moves make to it, the deck, the
// presentation, and the scoring of a knock.
class GinTable {
 public:
  virtual ~GinTable() = default;

  virtual const GameState& State() const = 0;
  // The upcard offer: the player on turn passed it, or took a card and so
  // ended it.
  virtual void PassOffer() = 0;
  virtual void EndOffer() = 0;
  // The stock is down to its last two cards: the hand ends after the next
  // discard without a knock.
  virtual void MarkStockExhausted() = 0;
  virtual void EndHandIfStockExhausted() = 0;
  // Scores the ten cards `seat` keeps for a knock and keeps the score for
  // the hand's end.
  virtual const NxHandScore& KeepKnockScore(uint32_t seat, const unsigned* kept) = 0;
  virtual void ShowSelection(SelectionKind kind, uint32_t card) = 0;
  // A wait inside one of the computer's moves. A command that replaces the
  // hand while it waits gives the move up: false then. A close request only
  // cuts the wait short, so that the saved game holds a whole move.
  virtual bool WaitInMove(uint32_t milliseconds) = 0;
  // Starts a move no earlier command has given up.
  virtual void BeginMove() = 0;
  // Between two slices of a long computation: the window handles its
  // events, and the computation goes on unless an abort or a close came
  // meanwhile.
  virtual bool KeepThinking() = 0;
  // The computer's networks could not be loaded: the table closes and
  // overwrites nothing it would have saved.
  virtual void CloseWithoutSaving() = 0;
  // Networks from elsewhere play: nothing of this table is saved.
  virtual void KeepFromSaving() = 0;
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
