#include "training/teacher_value.h"

#include <algorithm>

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

// Whether `card` could join a meld with some of the held cards.
bool Connects(uint64_t held, uint32_t card) {
  const int suit = static_cast<int>(card / NUM_RANKS), rank = static_cast<int>(card % NUM_RANKS);
  for (int other = 0; other < static_cast<int>(NUM_SUITS); ++other)
    if (Has(held, other, rank)) return true;
  for (int distance = 1; distance <= 2; ++distance)
    if (Has(held, suit, rank - distance) || Has(held, suit, rank + distance)) return true;
  return false;
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

double ExpectedDrawSaving(uint64_t held, uint64_t gone) {
  const int32_t now = LeastDeadwood(held);
  const uint64_t taken = held | gone;
  int open = 0;
  int32_t saved = 0;
  for (uint32_t card = 0; card < NUM_CARDS; ++card) {
    if (taken >> card & 1) continue;
    ++open;
    if (!Connects(held, card)) continue;
    const uint64_t with = held | uint64_t{1} << card;
    int32_t best = now;
    for (uint32_t thrown = 0; thrown < NUM_CARDS; ++thrown)
      if (with >> thrown & 1) best = std::min(best, LeastDeadwood(with & ~(uint64_t{1} << thrown)));
    saved += now - best;
  }
  return open ? static_cast<double>(saved) / open : 0.0;
}

double TeacherValue(const double* view, const TeacherWeights& weights) {
  uint64_t held = 0, gone = 0;
  for (uint32_t card = 0; card < NUM_CARDS; ++card) {
    double cell = view[ComputerPlay::CellOf(card)];
    if (cell > 0.5) held |= uint64_t{1} << card;
    else if (cell != 0.0) gone |= uint64_t{1} << card;  // discarded, or known in the other hand
  }
  double points = LeastDeadwood(held) - weights.HalfMeldCredit * LiveHalfMeldWays(held, gone);
  if (weights.DrawSavingCredit != 0) points -= weights.DrawSavingCredit * ExpectedDrawSaving(held, gone);
  if (view[ComputerPlay::DREW_DISCARD] > 0.5) points -= weights.TakePoints;
  return 0.5 - 0.004 * points;
}
