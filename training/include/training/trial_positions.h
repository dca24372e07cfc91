#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "player/trial_watcher.h"
#include "training/teacher_value.h"

// The positions of many decisions with their teacher values, kept by
// decision: what matters to play is how the positions of one decision
// compare with each other.
class TrialPositions : public TrialWatcher {
 public:
  static constexpr size_t CELLS = 56;

  explicit TrialPositions(const TeacherWeights& weights = {}) : Weights(weights) {}

  void DecisionStarts() override;
  void Trial(const double* view) override;

  size_t Decisions() const { return Starts.size(); }
  size_t Positions() const { return Targets.size(); }
  // Positions [First(d), End(d)) belong to decision d.
  size_t First(size_t decision) const { return Starts[decision]; }
  size_t End(size_t decision) const {
    return decision + 1 < Starts.size() ? Starts[decision + 1] : Targets.size();
  }
  const float* Cells(size_t position) const { return &CellValues[position * CELLS]; }
  double Target(size_t position) const { return Targets[position]; }

 private:
  TeacherWeights Weights;
  std::vector<float> CellValues;
  std::vector<double> Targets;
  std::vector<size_t> Starts;
};
