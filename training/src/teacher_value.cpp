#include "training/teacher_value.h"

#include "game/card_id.h"
#include "game/deadwood.h"
#include "player/computer_play.h"

namespace {

bool Has(uint64_t cards, int suit, int rank) {
  return rank >= 0 && rank < static_cast<int>(NUM_RANKS) && (cards >> (suit * NUM_RANKS + rank) & 1);
}

// A card that may still be drawn: on the board and in nobody's known hand.
int Open(uint64_t taken, int suit, int rank) {
  return rank >= 0 && rank < static_cast<int>(NUM_RANKS) && !Has(taken, suit, rank) ? 1 : 0;
}

}  // namespace

int32_t LiveHalfMeldWays(uint64_t held, uint64_t gone) {
  const uint64_t taken = held | gone;
  int32_t ways = 0;
  for (int suit = 0; suit < static_cast<int>(NUM_SUITS); ++suit) {
    for (int rank = 0; rank < static_cast<int>(NUM_RANKS); ++rank) {
      if (!Has(held, suit, rank)) continue;
      for (int other = suit + 1; other < static_cast<int>(NUM_SUITS); ++other) {
        if (!Has(held, other, rank)) continue;
        for (int third = 0; third < static_cast<int>(NUM_SUITS); ++third)
          if (third != suit && third != other) ways += Open(taken, third, rank);
      }
      if (Has(held, suit, rank + 1)) ways += Open(taken, suit, rank - 1) + Open(taken, suit, rank + 2);
      if (Has(held, suit, rank + 2)) ways += Open(taken, suit, rank + 1);
    }
  }
  return ways;
}

double TeacherValue(const double* view, const TeacherWeights& weights) {
  uint64_t held = 0, gone = 0;
  for (uint32_t card = 0; card < NUM_CARDS; ++card) {
    double cell = view[ComputerPlay::CellOf(card)];
    if (cell > 0.5) held |= uint64_t{1} << card;
    else if (cell != 0.0) gone |= uint64_t{1} << card;  // discarded, or known in the other hand
  }
  double points = LeastDeadwood(held) - weights.HalfMeldCredit * LiveHalfMeldWays(held, gone);
  if (view[ComputerPlay::DREW_DISCARD] > 0.5) points -= weights.TakePoints;
  return 0.5 - 0.004 * points;
}
