#include "fann_side.h"

#include <doublefann.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace fann_side {

namespace {

struct NetDeleter {
  void operator()(fann* net) const { fann_destroy(net); }
};
struct DataDeleter {
  void operator()(fann_train_data* data) const { fann_destroy_train(data); }
};

// Each input's range over the training set, to scale it to 0..1.
struct InputRange {
  std::vector<double> Low, Span;
  explicit InputRange(const nx::DataSet& training)
      : Low(training.NumInputs(), 0.0), Span(training.NumInputs(), 0.0) {
    std::vector<double> high(training.NumInputs(), 0.0);
    for (size_t i = 0; i < training.Size(); ++i)
      for (unsigned j = 0; j < training.NumInputs(); ++j) {
        const double v = training.Inputs(i)[j];
        if (i == 0 || v < Low[j]) Low[j] = v;
        if (i == 0 || v > high[j]) high[j] = v;
      }
    for (unsigned j = 0; j < training.NumInputs(); ++j) Span[j] = high[j] - Low[j];
  }
  double Scaled(unsigned j, double v) const { return Span[j] > 0 ? (v - Low[j]) / Span[j] : 0.0; }
};

std::unique_ptr<fann_train_data, DataDeleter> ToFann(const nx::DataSet& set, const InputRange& range) {
  std::unique_ptr<fann_train_data, DataDeleter> data(
      fann_create_train(static_cast<unsigned>(set.Size()), set.NumInputs(), set.NumOutputs()));
  for (size_t i = 0; i < set.Size(); ++i) {
    for (unsigned j = 0; j < set.NumInputs(); ++j) data->input[i][j] = range.Scaled(j, set.Inputs(i)[j]);
    for (unsigned k = 0; k < set.NumOutputs(); ++k) data->output[i][k] = set.Targets(i)[k];
  }
  return data;
}

double Accuracy(fann* net, const fann_train_data& data) {
  unsigned right = 0;
  for (unsigned i = 0; i < data.num_data; ++i) {
    const fann_type* out = fann_run(net, data.input[i]);
    const unsigned n = data.num_output;
    right += std::max_element(out, out + n) - out == std::max_element(data.output[i], data.output[i] + n) - data.output[i];
  }
  return data.num_data ? double(right) / data.num_data : 0.0;
}

fann_train_enum AlgorithmOf(nx::Algorithm method) {
  switch (method) {
    case nx::Algorithm::Rprop: return FANN_TRAIN_RPROP;
    case nx::Algorithm::Batch: return FANN_TRAIN_BATCH;
    case nx::Algorithm::PerPattern: return FANN_TRAIN_INCREMENTAL;
  }
  return FANN_TRAIN_RPROP;
}

}  // namespace

bool Available() { return true; }

std::optional<Result> Train(const std::vector<unsigned>& layers, const nx::DataSet& training,
                            const nx::DataSet* test, const nx::TrainOptions& options, unsigned seed) {
  std::unique_ptr<fann, NetDeleter> net(fann_create_standard_array(static_cast<unsigned>(layers.size()), layers.data()));
  // FANN seeds rand() from the clock or the system the first time it makes
  // a network: the weights are drawn again from the seed, in its own range.
  std::srand(seed);
  fann_randomize_weights(net.get(), -0.1f, 0.1f);
  fann_set_activation_function_hidden(net.get(), FANN_SIGMOID);
  fann_set_activation_function_output(net.get(), FANN_SIGMOID);
  fann_set_training_algorithm(net.get(), AlgorithmOf(options.Method));
  fann_set_learning_rate(net.get(), static_cast<float>(options.Rate));
  fann_set_learning_momentum(net.get(), static_cast<float>(options.Momentum));
  const InputRange range(training);
  const auto data = ToFann(training, range);

  Result result;
  double trainingTime = 0;
  for (unsigned epoch = 1; epoch <= options.MaxEpochs; ++epoch) {
    const auto before = std::chrono::steady_clock::now();
    fann_train_epoch(net.get(), data.get());
    trainingTime += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    result.Epochs = epoch;
    if (options.TargetMse > 0) {
      // The error after the epoch's step, as the layer measures it.
      result.TrainingMse = fann_test_data(net.get(), data.get());
      if (result.TrainingMse < options.TargetMse) {
        result.ReachedTarget = true;
        break;
      }
    }
  }
  result.MsPerEpoch = result.Epochs ? trainingTime / result.Epochs : 0;
  if (options.TargetMse <= 0) result.TrainingMse = fann_test_data(net.get(), data.get());
  if (test) result.TestAccuracy = Accuracy(net.get(), *ToFann(*test, range));
  return result;
}

}  // namespace fann_side
