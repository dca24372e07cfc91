#include "training/trial_positions.h"

#include <cmath>

#include "player/computer_play.h"

void TrialPositions::DecisionStarts() {
  if (Starts.empty() || Starts.back() != Targets.size()) Starts.push_back(Targets.size());
}

void TrialPositions::Trial(const double* view) {
  if (Starts.empty()) Starts.push_back(0);
  CellValues.insert(CellValues.end(), view, view + CELLS);
  Targets.push_back(TeacherValue(view, Weights));
}

void TrialPositions::MapTargets(const std::function<double(double target, const float* cells)>& map) {
  for (size_t p = 0; p < Targets.size(); ++p) Targets[p] = map(Targets[p], Cells(p));
}

uint32_t TurnOf(double progressCell) {
  return static_cast<uint32_t>(std::lround(std::max(0.0, progressCell - 0.1) * 30));
}

void TrialPositions::Reached(const double* view) {
  Finished.push_back({TeacherValue(view, Weights), TurnOf(view[ComputerPlay::PROGRESS]), 0.0});
}

void TrialPositions::HandEnds(double outcome) {
  for (size_t i = HandStart; i < Finished.size(); ++i) Finished[i].Result = outcome;
  HandStart = Finished.size();
}
