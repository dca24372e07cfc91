#pragma once

#include <cstdint>

#include "game/gin_table.h"

// Takes over the computer player's choices of take, discard and knock,
// while the computer player goes on moving the cards, keeping its position
// vectors and learning from the hands as it always does.
class ComputerDecider {
 public:
  virtual ~ComputerDecider() = default;
  // At every deal, before the first move of the hand.
  virtual void StartHand(GinTable& table) = 0;
  // Whether to take the top of the discard pile; false passes the offer
  // or draws from the stock.
  virtual bool TakesUpcard(GinTable& table) = 0;
  struct Discard {
    uint32_t Position = 0;  // in the computer's pile
    bool Knock = false;
  };
  virtual Discard ChooseDiscard(GinTable& table) = 0;
};
