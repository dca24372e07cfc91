#pragma once

#include <cstdint>

#include "game/card_id.h"

// One way the rest of a hand could go, as the search plays it: both hands
// (hand 0 the searching seat's), the stock in drawing order and the top of
// the discard pile. Below the top nothing can be taken again.
struct MasterWorld {
  uint64_t Hand[2] = {0, 0};
  uint8_t Stock[NUM_CARDS] = {};
  uint32_t StockLeft = 0;  // drawn from Stock[StockLeft - 1] down
  uint32_t Top = NoCard;
  // The last stock card but two was drawn: the next plain discard ties the hand.
  bool Exhausted = false;
};

// The quick rule play both players follow in the search's worlds, and the
// exact score of a knock by the game's own rules.
class MasterRollout {
 public:
  // Rounds after which a world that never ends counts as a tie.
  static constexpr uint32_t MAX_TURNS = 80;

  explicit MasterRollout(uint32_t knockLimit) : Limit(knockLimit) {}

  // The points of a knock, for hand 0 (negative when hand 1 scores),
  // layoffs and undercut included.
  static int32_t KnockPoints(uint32_t knocker, uint64_t knockerHand, uint64_t defenderHand);
  // The discard of eleven cards that leaves the least deadwood (the highest
  // card among equals), never `keep`; the deadwood left in `deadwood`.
  static uint32_t BestDiscard(uint64_t hand, uint32_t keep, int32_t& deadwood);
  // Takes the upcard when it would let the hand knock or melds in the hand
  // it makes.
  bool WantsUpcard(uint64_t hand, uint32_t upcard) const;

  // Player `mover` has just taken its eleventh card (`taken` from the pile,
  // or NoCard): it discards by the rule and knocks when it may. Returns
  // true when the hand ended, with hand 0's points in `points`.
  bool Discard(MasterWorld& world, uint32_t mover, uint32_t taken, double& points) const;
  // Draws for `mover`: the upcard when the rule wants it, else the stock.
  // Returns the card taken from the pile, or NoCard.
  uint32_t Take(MasterWorld& world, uint32_t mover, bool upcardAllowed) const;
  // Plays the hand on from `mover`'s turn to take; hand 0's points.
  double PlayOut(MasterWorld& world, uint32_t mover) const;

  uint32_t KnockLimit() const { return Limit; }

 private:
  uint32_t Limit;
};
