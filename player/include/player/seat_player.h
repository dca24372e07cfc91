#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/game_flow.h"
#include "neural/random.h"

// A player for the human seat of the flow, for matches without a person:
// it makes one move whenever the flow waits for the human.
class SeatPlayer {
 public:
  virtual ~SeatPlayer() = default;
  virtual const char* Name() const = 0;
  // Called in HumanTake and HumanDiscard; false when no move was accepted.
  virtual bool Move(GameFlow& flow) = 0;
  // Called at every deal, before the first move of the hand.
  virtual void StartHand(GameFlow&) {}
};

// The simple strategy used as a benchmark in Gin Rummy research: take the
// upcard only when it allows a knock at once or completes a meld that lowers
// the deadwood; knock as soon as the deadwood after the best discard is
// within the limit; otherwise throw the highest unmatched card.
class SimplePlayer : public SeatPlayer {
 public:
  const char* Name() const override { return "simple"; }
  bool Move(GameFlow& flow) override;

 private:
  bool Take(GameFlow& flow);
  bool DiscardOrKnock(GameFlow& flow);
};

// Uniformly random among the legal moves; knocks whenever its discard makes
// a legal knock.
class RandomPlayer : public SeatPlayer {
 public:
  explicit RandomPlayer(int32_t seed);
  const char* Name() const override { return "random"; }
  bool Move(GameFlow& flow) override;

 private:
  uint32_t Below(uint32_t count);
  NxRandomGenerator Random;
};
