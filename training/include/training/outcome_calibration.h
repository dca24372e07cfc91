#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "training/trial_positions.h"

// What the game's learning makes of the teacher's values: learning by play
// moves every reached position's value towards the outcome its hands end
// in, so a network fitted to the raw teacher values drifts as soon as it
// learns. A straight line from teacher value to mean outcome, one for each
// stage of the hand, keeps the teacher's order of the positions of a
// decision (they share their stage) while placing their values where
// learning would take them.
struct OutcomeCalibration {
  static constexpr uint32_t STAGES = 6;  // pairs of turns, the last one open-ended
  double Intercept[STAGES] = {};
  double Slope[STAGES] = {};
  size_t Count[STAGES] = {};

  static uint32_t StageOf(uint32_t turn) { return turn / 2 < STAGES ? turn / 2 : STAGES - 1; }
  double Map(double teacher, uint32_t turn) const {
    const uint32_t stage = StageOf(turn);
    return Intercept[stage] + Slope[stage] * teacher;
  }
};

// Least squares in each stage; a stage with too few positions takes the
// line of all of them, and no slope falls below `minSlope` so that the
// teacher's order survives.
OutcomeCalibration FitOutcomeCalibration(const std::vector<TrialPositions::Outcome>& outcomes,
                                         double minSlope = 0.05);
