#pragma once

#include <optional>
#include <vector>

#include "neural/trainer.h"

// The same training with the FANN library beside ours, when the build
// found it (Debian's libfann-dev): the same layers, sigmoid nodes, the
// algorithm, rate, momentum, epoch limit and target error of `options`,
// the same seed for the initial weights. FANN does not scale its inputs,
// so they are scaled to 0..1 by the training set's range first.
namespace fann_side {

struct Result {
  unsigned Epochs = 0;
  double MsPerEpoch = 0;
  double TrainingMse = 0;
  bool ReachedTarget = false;
  double TestAccuracy = 0;  // when a test set was given
};

// Whether this nxbench was built with FANN.
bool Available();

// Nothing when FANN is not available.
std::optional<Result> Train(const std::vector<unsigned>& layers, const nx::DataSet& training,
                            const nx::DataSet* test, const nx::TrainOptions& options, unsigned seed);

}  // namespace fann_side
