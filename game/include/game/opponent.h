#pragma once

#include <cstdint>

#include "game/game_state.h"

// Which position vector a card note goes to (2, as older callers wrote
// for a card both players saw, is the computer's too).
enum NoteVector : uint32_t { HUMAN_VECTOR = 0, COMPUTER_VECTOR = 1 };

// The computer opponent as the flow of a hand sees it. Card notes tell it
// what it can see of the human's moves; the owner is the pile the card is
// in (HUMAN_PILE ... DISCARD_PILE).
class ComputerOpponent {
 public:
  virtual ~ComputerOpponent() = default;

  virtual void SelectNet(uint32_t choice) = 0;
  // At every deal, once the knock limit is known.
  virtual void StartHand() = 0;
  // False when the computer passes the upcard offer.
  virtual bool TakeDecision(uint32_t player) = 0;
  virtual void DiscardDecision(uint32_t player) = 0;
  virtual void NoteCard(uint32_t owner, uint32_t card, uint32_t view) = 0;
  // After each discard or knock of the player who moves second in a round.
  virtual void CountRound() = 0;
  virtual void HandOutcome(double computerOutcome) = 0;
  virtual void BuildHumanView(uint32_t winner, uint32_t previousDealer) = 0;
  // One learning step per idle pass; false when learning of the hand is done.
  virtual bool LearnStep(PlayState state, double computerOutcome, double humanOutcome) = 0;
};
