#include "training/trial_positions.h"

void TrialPositions::DecisionStarts() {
  if (Starts.empty() || Starts.back() != Targets.size()) Starts.push_back(Targets.size());
}

void TrialPositions::Trial(const double* view) {
  if (Starts.empty()) Starts.push_back(0);
  CellValues.insert(CellValues.end(), view, view + CELLS);
  Targets.push_back(TeacherValue(view, Weights));
}
