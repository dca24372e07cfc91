// Training through the checked layer: epochs over the flat plan, with the
// stop rules of the options and no schedule of its own, so that what is
// printed never changes what is learned.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>

#include "backprop_plan.h"
#include "input_scaling.h"
#include "neural/trainer.h"

namespace nx {

namespace {

void CheckOptions(const TrainOptions& options) {
  if (options.MaxEpochs == 0) throw XCTraining("the epoch limit must be at least 1");
  if (!(options.Rate >= 0 && options.Rate <= 10))
    throw XCTraining("the learning rate must lie from 0 to 10, not " + std::to_string(options.Rate));
  if (!(options.Momentum >= 0 && options.Momentum <= 1))
    throw XCTraining("the momentum must lie from 0 to 1, not " + std::to_string(options.Momentum));
  if (!(options.TargetMse >= 0)) throw XCTraining("the target error must be 0 or more");
  if (!(options.WeightDecay >= 0 && options.WeightDecay <= 1))
    throw XCTraining("the weight decay must lie from 0 to 1, not " + std::to_string(options.WeightDecay));
  if (!(options.ValidationShare >= 0 && options.ValidationShare <= 0.9))
    throw XCTraining("the validation share must lie from 0 to 0.9, not " + std::to_string(options.ValidationShare));
}

void CheckSizes(const NxNeuralNet& net, const DataSet& data) {
  if (data.NumInputs() != net.GetNumInputs()) throw XCSizeMismatch("inputs", net.GetNumInputs(), data.NumInputs());
  if (data.NumOutputs() != net.GetNumOutputs())
    throw XCSizeMismatch("targets", net.GetNumOutputs(), data.NumOutputs());
}

// The patterns in an order drawn from the seed; the validation share comes
// off the end.
struct Split {
  DataSet Training;
  DataSet Validation;
};

Split SplitData(const DataSet& data, const TrainOptions& options) {
  Split split{DataSet(data.NumInputs(), data.NumOutputs()), DataSet(data.NumInputs(), data.NumOutputs())};
  size_t held = static_cast<size_t>(std::lround(data.Size() * options.ValidationShare));
  if (options.ValidationShare > 0) held = std::clamp<size_t>(held, 1, data.Size() - 1);
  std::vector<size_t> order(data.Size());
  std::iota(order.begin(), order.end(), 0);
  if (held > 0) {
    std::mt19937 engine(options.Seed);
    std::shuffle(order.begin(), order.end(), engine);
  }
  for (size_t n = 0; n < order.size(); ++n) {
    DataSet& part = n < order.size() - held ? split.Training : split.Validation;
    part.Add(data.Inputs(order[n]), data.Targets(order[n]));
  }
  return split;
}

std::vector<NxBaseLayer*> LayersOf(const NxNeuralNet& net) {
  std::vector<NxBaseLayer*> layers;
  for (unsigned layer = 0; layer < NxNeuralBase::MAX_LAYERS; ++layer)
    if (net.GetLayer(layer)) layers.push_back(net.GetLayer(layer));
  return layers;
}

// One training run; the plan when the network is a chain it can run, the
// nodes themselves otherwise (the per-pattern rule only).
class Run {
 public:
  Run(NxNeuralNet& net, const TrainOptions& options) : Net(net), Options(options), Engine(options.Seed) {
    Net.SetTrainByEpoch(false);
    if (Options.Method == Algorithm::PerPattern) {
      Net.SetGlobalLearningRate(Options.Rate);
      Net.SetGlobalMomentum(Options.Momentum);
    }
    Flat = Plan.Build(Net.GetInputLayer(), Net.GetOutputLayer(), LayersOf(Net), false);
    if (!Flat && Options.Method != Algorithm::PerPattern)
      throw XCTraining("RPROP and batch training need a network of fully connected layers one after another; "
                       "train this one per pattern");
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;
  // The rows stay the caller's.
  ~Run() {
    if (!Rows.empty()) Net.SetIOPatterns(nullptr, 0, false);
  }

  bool CanScale() const { return Flat; }
  void Fold(const InputScaling& s) { Plan.FoldInputScaling(s.Scale.data(), s.Offset.data()); }

  // One epoch: the training error as the epoch met the patterns. A batch
  // epoch only sums the gradients; Step moves the weights.
  double Epoch(const DataSet& data) {
    return Options.Method == Algorithm::PerPattern ? PatternEpoch(data) : BatchEpoch(data);
  }

  bool BelowTarget(double mse) const { return Options.TargetMse > 0 && mse < Options.TargetMse; }

  void Step(unsigned patterns) {
    if (Options.Method == Algorithm::Rprop) Plan.StepRprop(NxRpropSettings{}, Options.WeightDecay, patterns);
    if (Options.Method == Algorithm::Batch)
      Plan.StepGradient(Options.Rate, Options.Momentum, Options.WeightDecay, patterns);
  }

  double Mse(const DataSet& data) {
    double squares = 0;
    for (size_t i = 0; i < data.Size(); ++i) {
      const double* outputs = Outputs(data.Inputs(i));
      const std::span<const double> targets = data.Targets(i);
      for (size_t k = 0; k < targets.size(); ++k) squares += (outputs[k] - targets[k]) * (outputs[k] - targets[k]);
    }
    return squares / (double(data.Size()) * data.NumOutputs());
  }

  std::vector<FP12_20> Snapshot() const { return Flat ? Plan.CopyWeights() : std::vector<FP12_20>{}; }
  void Restore(const std::vector<FP12_20>& weights) {
    if (Flat) Plan.RestoreWeights(weights);
  }

 private:
  double BatchEpoch(const DataSet& data) {
    double sum = 0;
    NxErrorTotals totals;
    for (size_t i = 0; i < data.Size(); ++i) {
      Plan.AddGradient(data.Row(i).data(), &totals);
      sum += totals.MeanSquareError;
    }
    return sum / data.Size();
  }

  double PatternEpoch(const DataSet& data) {
    if (!Flat) return NodeEpoch(data);
    if (Order.size() != data.Size()) {
      Order.resize(data.Size());
      std::iota(Order.begin(), Order.end(), 0);
    }
    if (Options.Shuffle) std::shuffle(Order.begin(), Order.end(), Engine);
    double sum = 0;
    NxErrorTotals totals;
    for (size_t i : Order) {
      Plan.Present(data.Row(i).data(), 0.0, &totals);
      sum += totals.MeanSquareError;
    }
    return sum / data.Size();
  }

  // The network's own per-pattern training, one epoch a call, with a report
  // interval no run reaches, so that no rate schedule or noise steps in.
  double NodeEpoch(const DataSet& data) {
    if (Rows.empty()) {
      for (size_t i = 0; i < data.Size(); ++i) Rows.push_back(const_cast<double*>(data.Row(i).data()));
      Net.SetupTraining(Rows.data(), static_cast<unsigned>(Rows.size()), ~0u, 0.0, ~0u, false, false);
    }
    if (Options.Shuffle) Net.RandomizeIOPatterns();
    Net.DoSomeTraining(static_cast<unsigned>(Rows.size()));
    return Mse(data);
  }

  const double* Outputs(std::span<const double> inputs) {
    return Flat ? Plan.Evaluate(inputs.data()) : Propagate(Net, inputs).data();
  }

  NxNeuralNet& Net;
  const TrainOptions& Options;
  std::mt19937 Engine;
  NxBackPropPlan Plan;
  bool Flat = false;
  std::vector<size_t> Order;
  std::vector<double*> Rows;
};

// Epochs until a stop rule holds; unless the target error was reached, the
// weights of the best validation error are kept when there is a validation
// set.
StopReason RunEpochs(Run& run, const DataSet& training, const DataSet& validation, const TrainOptions& options,
                     unsigned& epochs) {
  double best = INFINITY;
  std::vector<FP12_20> bestWeights;
  unsigned sinceBest = 0;
  StopReason stop = StopReason::EpochLimit;
  for (epochs = 0; epochs < options.MaxEpochs;) {
    const double mse = run.Epoch(training);
    const bool batch = options.Method != Algorithm::PerPattern;
    if (batch && run.BelowTarget(mse)) {
      stop = StopReason::TargetError;
      break;
    }
    if (batch) run.Step(static_cast<unsigned>(training.Size()));
    ++epochs;
    EpochRecord record{epochs, mse, validation.Empty() ? 0.0 : run.Mse(validation)};
    if (options.OnEpoch) options.OnEpoch(record);
    if (!batch && run.BelowTarget(mse)) {
      stop = StopReason::TargetError;
      break;
    }
    if (validation.Empty()) continue;
    if (record.ValidationMse < best) {
      best = record.ValidationMse;
      bestWeights = run.Snapshot();
      sinceBest = 0;
    } else if (++sinceBest >= options.Patience) {
      stop = StopReason::NoImprovement;
      break;
    }
  }
  // Weights that reached the target error are what was asked for.
  if (!bestWeights.empty() && stop != StopReason::TargetError) run.Restore(bestWeights);
  return stop;
}

}  // namespace

TrainReport Train(NxNeuralNet& net, const DataSet& data, const TrainOptions& options) {
  CheckSizes(net, data);
  CheckOptions(options);
  if (data.Size() < (options.ValidationShare > 0 ? 2u : 1u))
    throw XCTraining("training needs " + std::string(options.ValidationShare > 0 ? "two patterns" : "a pattern") +
                     ", and the data set holds " + std::to_string(data.Size()));
  const Split split = SplitData(data, options);
  TrainReport report;
  {
    Run run(net, options);
    if (options.ScaleInputs && run.CanScale()) {
      const InputScaling scaling = InputScaling::Fit(split.Training);
      report.Stop = RunEpochs(run, scaling.Apply(split.Training), scaling.Apply(split.Validation), options,
                              report.Epochs);
      run.Fold(scaling);
    } else {
      report.Stop = RunEpochs(run, split.Training, split.Validation, options, report.Epochs);
    }
  }
  const Evaluation trained = Evaluate(net, split.Training);
  report.TrainingMse = trained.Mse;
  report.OneOfN = trained.OneOfN;
  report.TrainingAccuracy = trained.Accuracy;
  report.TrainingPatterns = static_cast<unsigned>(split.Training.Size());
  report.ValidationPatterns = static_cast<unsigned>(split.Validation.Size());
  if (!split.Validation.Empty()) {
    const Evaluation validated = Evaluate(net, split.Validation);
    report.ValidationMse = validated.Mse;
    report.ValidationAccuracy = validated.Accuracy;
  }
  return report;
}

}  // namespace nx
