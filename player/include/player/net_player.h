#pragma once

#include <memory>
#include <string>

#include "player/computer_play.h"
#include "player/seat_player.h"

// The human seat played by the computer player's own decision rules at a
// level, with networks read from a data file and never changed. Its
// position vector is kept from the human's side with the same encoding:
// what it can see of the computer's moves it reads off the discard pile.
class NetPlayer : public SeatPlayer {
 public:
  // dataFile: a network data file of four level blocks; the networks come
  // from block `block` (by default the level's own) and play by the rules of
  // `level`.
  NetPlayer(GameFlow& flow, uint32_t level, const std::string& dataFile, uint32_t block = NUM_LEVELS);

  const char* Name() const override { return Label.c_str(); }
  bool Move(GameFlow& flow) override;
  void StartHand(GameFlow& flow) override;

  // For a seat that decides for itself with this player's choice as
  // advice: Suggest takes in the other player's moves and says what this
  // player would do (a knock whenever the discard allows one, as at the top
  // level); Follow then makes `move`, which may differ, and notes it as if
  // this player had chosen it.
  SeatMove Suggest(GameFlow& flow);
  bool Follow(GameFlow& flow, const SeatMove& move);

 private:
  void NoteOpponentMoves(const NxDeck& deck);
  void RememberDiscardPile(const NxDeck& deck);
  bool Take(GameFlow& flow);
  bool TakeStock(GameFlow& flow);
  bool DiscardOrKnock(GameFlow& flow);

  std::unique_ptr<ComputerPlay> Engine;
  std::string Label;
  // The discard pile as this seat left it after its own last action.
  uint32_t KnownDiscards = 0;
  uint32_t KnownTop = NoCard;
};
