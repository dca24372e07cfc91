#pragma once

#include <cstdint>

#include "player/seat_player.h"

// A yardstick for the human seat that goes for gin: it takes the upcard
// whenever that lowers its deadwood by three or more (or melds it), throws
// the card that leaves the least deadwood, among equals one unrelated to
// the cards the other player took from the pile, and, while its deadwood is
// at most HOLD_DEADWOOD and the stock holds at least HOLD_STOCK cards, plays
// on for gin instead of knocking.
class GinHunterPlayer : public SeatPlayer {
 public:
  static constexpr int32_t HOLD_DEADWOOD = 4;
  static constexpr uint32_t HOLD_STOCK = 16;

  const char* Name() const override { return "ginhunter"; }
  bool Move(GameFlow& flow) override { return MakeSeatMove(flow, Choose(flow)); }
  SeatMove Choose(GameFlow& flow) const;
};
