#pragma once

#include <cstdint>

#include "game/score_record.h"

// A hand at its end, as the record of play keeps it: who knocked (or that
// the stock ran out), how it was scored and, when it ended the game, the
// game's final reckoning.
struct PlayedHand {
  static constexpr uint32_t NOBODY = 2;  // no knock, or no winner: the stock ran out

  uint32_t Variation = 0;
  uint32_t Target = 0;
  bool ElevenTenDeal = false;
  bool Watched = false;
  // The hand's number in its game, from 1.
  uint32_t Number = 0;
  uint32_t Knocker = NOBODY;
  uint32_t Winner = NOBODY;
  bool Gin = false;
  bool Undercut = false;
  // Human, computer; the defender's after laying off.
  int32_t Deadwood[2] = {0, 0};
  uint32_t Points = 0;

  bool EndsGame = false;
  // Meaningful when the hand ends the game.
  uint32_t HandsWon[2] = {0, 0};  // human, computer
  bool Shutout = false;
  FinalTotals Totals;
};
