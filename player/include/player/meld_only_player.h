#pragma once

#include "player/seat_player.h"

// A yardstick for the human seat: it takes the upcard only when the card
// ends in a meld of the hand it makes or lets it knock, throws the highest
// unmatched card that has no partner (another of its rank, or a suit
// neighbour within two) before any that has one, and knocks at once.
class MeldOnlyPlayer : public SeatPlayer {
 public:
  const char* Name() const override { return "meldonly"; }
  bool Move(GameFlow& flow) override { return MakeSeatMove(flow, Choose(flow)); }
  SeatMove Choose(GameFlow& flow) const;
};
