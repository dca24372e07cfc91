#include "training/outcome_calibration.h"

#include <algorithm>

namespace {

constexpr size_t FEWEST = 200;

struct Sums {
  double N = 0, X = 0, Y = 0, XX = 0, XY = 0;
  void Add(double x, double y) {
    N += 1;
    X += x;
    Y += y;
    XX += x * x;
    XY += x * y;
  }
  // Slope and intercept of the least-squares line; flat when x never varies.
  void Line(double minSlope, double& intercept, double& slope) const {
    const double var = N * XX - X * X;
    slope = var > 0 ? (N * XY - X * Y) / var : 0;
    slope = std::max(slope, minSlope);
    intercept = N > 0 ? (Y - slope * X) / N : 0.5;
  }
};

}  // namespace

OutcomeCalibration FitOutcomeCalibration(const std::vector<TrialPositions::Outcome>& outcomes, double minSlope) {
  OutcomeCalibration calibration;
  Sums all, stage[OutcomeCalibration::STAGES];
  for (const TrialPositions::Outcome& o : outcomes) {
    all.Add(o.Teacher, o.Result);
    stage[OutcomeCalibration::StageOf(o.Turn)].Add(o.Teacher, o.Result);
  }
  for (uint32_t s = 0; s < OutcomeCalibration::STAGES; ++s) {
    calibration.Count[s] = static_cast<size_t>(stage[s].N);
    const Sums& used = stage[s].N >= FEWEST ? stage[s] : all;
    used.Line(minSlope, calibration.Intercept[s], calibration.Slope[s]);
  }
  return calibration;
}
