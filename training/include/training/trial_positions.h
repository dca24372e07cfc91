#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "player/trial_watcher.h"
#include "training/teacher_value.h"

// The player's own turns before a position, read off its progress cell.
uint32_t TurnOf(double progressCell);

// The positions of many decisions with their teacher values, kept by
// decision: what matters to play is how the positions of one decision
// compare with each other. Beside them, the teacher value of every position
// the player reached, with the outcome its hand ended in, to measure how
// the teacher's values relate to what learning by play trains towards.
class TrialPositions : public TrialWatcher {
 public:
  static constexpr size_t CELLS = 56;

  explicit TrialPositions(const TeacherWeights& weights = {}) : Weights(weights) {}

  void DecisionStarts() override;
  void Trial(const double* view) override;
  void Reached(const double* view) override;
  void HandEnds(double outcome) override;

  size_t Decisions() const { return Starts.size(); }
  size_t Positions() const { return Targets.size(); }
  // Positions [First(d), End(d)) belong to decision d.
  size_t First(size_t decision) const { return Starts[decision]; }
  size_t End(size_t decision) const {
    return decision + 1 < Starts.size() ? Starts[decision + 1] : Targets.size();
  }
  const float* Cells(size_t position) const { return &CellValues[position * CELLS]; }
  double Target(size_t position) const { return Targets[position]; }
  // Replaces every target t of a rated position with map(t, its cells).
  void MapTargets(const std::function<double(double target, const float* cells)>& map);

  // A reached position of a finished hand.
  struct Outcome {
    double Teacher;
    uint32_t Turn;  // the player's own turns before it in its hand
    double Result;  // the hand's outcome for the player
  };
  const std::vector<Outcome>& Outcomes() const { return Finished; }

 private:
  TeacherWeights Weights;
  std::vector<float> CellValues;
  std::vector<double> Targets;
  std::vector<size_t> Starts;
  std::vector<Outcome> Finished;
  size_t HandStart = 0;  // first of Finished whose hand is still being played
};
