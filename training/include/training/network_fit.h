#pragma once

#include <cstdint>
#include <functional>

#include "neural/net.h"
#include "training/trial_positions.h"

// Fits a position network to the teacher values of collected decisions by
// plain back-propagation on a double-precision copy of its weights, then
// writes the weights back. The loss looks at each decision on its own: the
// differences between its positions count fully, their common level only
// by LevelWeight, because play only ever compares the positions of one
// decision.
struct FitOptions {
  unsigned Epochs = 20;
  double StepSize = 0.003;  // of the Adam updates
  double LevelWeight = 0.2;
  unsigned DecisionsPerBatch = 6;
  uint64_t Seed = 1;
};

struct FitReport {
  bool Fitted = false;  // false: the network has nodes this fit cannot copy
  // Root mean square, in points (0.004 of value), of the errors within
  // decisions once each decision's mean error is taken out.
  double SpreadBefore = 0, SpreadAfter = 0;
  // Share of decisions whose best-rated position is one the teacher rates best.
  double AgreementBefore = 0, AgreementAfter = 0;
  // Largest difference between the copy and the network itself afterwards.
  double LargestDeviation = 0;
};

FitReport FitToTeacher(NxNeuralBase& net, const TrialPositions& trials, const FitOptions& options,
                       const std::function<void(unsigned epoch)>& progress = {});

// Copies every weight of `from` into `to`; both must have the same topology.
bool CopyWeights(const NxNeuralBase& from, NxNeuralBase& to);
