#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/game_flow.h"
#include "neural/random.h"

// One move of the human seat, decided but not yet made: a window test makes
// it with the mouse, a match through the flow.
struct SeatMove {
  enum Kind { NONE, PASS, TAKE_UPCARD, TAKE_STOCK, DISCARD, KNOCK };
  Kind What = NONE;
  uint32_t Position = 0;  // of the card in the hand, for DISCARD and KNOCK
};
bool MakeSeatMove(GameFlow& flow, const SeatMove& move);
// The same move: the same kind, and for a discard or a knock the same card.
bool IsSameMove(const SeatMove& a, const SeatMove& b);

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
  bool Move(GameFlow& flow) override { return MakeSeatMove(flow, Choose(flow)); }
  SeatMove Choose(GameFlow& flow) const;

 private:
  SeatMove Take(GameFlow& flow) const;
  SeatMove DiscardOrKnock(GameFlow& flow) const;
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
