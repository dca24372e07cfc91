#pragma once

/// @file trainer.h
/// @brief The checked C++ layer: networks owned by `std::unique_ptr`, inputs
/// and outputs as spans checked against the network's sizes, data sets, and
/// training with an options struct and a report.
///
/// A classifier in a few lines:
/// @code
/// auto net = nx::MakeBackPropNet({64, 32, 10});
/// nx::DataSet train = nx::DataSet::FromPatternFile("train.pat", 64, 10);
/// nx::TrainReport report = nx::Train(*net, train);
/// nx::Evaluation test = nx::Evaluate(*net, nx::DataSet::FromPatternFile("test.pat", 64, 10));
/// std::printf("%.1f%%\n", 100 * test.Accuracy);
/// @endcode

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "neural/backprop_net.h"
#include "neural/exceptions.h"
#include "neural/export.h"
#include "neural/net.h"
#include "neural/types.h"

/// The checked C++ layer over the library's networks.
namespace nx {

/// Hands a network back to the library that made it.
struct NX_EXPORT NetDeleter {
  /// Frees the network through DeleteNet().
  void operator()(NxNeuralBase* net) const noexcept;
};

/// A back-propagation network owned by its holder.
using BackPropNet = std::unique_ptr<NxNeuralNet, NetDeleter>;
/// A temporal-difference network owned by its holder.
using TempDiffNet = std::unique_ptr<NxTemporalDifferenceNet, NetDeleter>;

/// How the layers of a network made from a list of sizes are built.
struct NetOptions {
  NODETYPE Hidden = SIGMOID;  ///< node type of every hidden layer
  NODETYPE Output = SIGMOID;  ///< node type of the output layer
  /// Fixes the library's random source before the weights are drawn, for
  /// the rest of the process as NxFixRandomSeed() does; 0 leaves it alone.
  unsigned Seed = 0;
};

/// The topology of a chain of fully connected layers, inputs first and
/// outputs last (at least two sizes, at most 16), as the library numbers
/// them: layer 0 the inputs, layer 1 the outputs, 2 and on the hidden ones.
/// @throws XCBase when there are fewer than two sizes, more than 16, or a 0.
NX_EXPORT NxNeuralBase::ConfigData ChainConfig(const std::vector<unsigned>& sizes, NODETYPE hidden = SIGMOID,
                                               NODETYPE output = SIGMOID);

/// Connects every node of `source` to every node of `target`.
NX_EXPORT void ConnectFully(NxNeuralBase::ConfigData& config, unsigned source, unsigned target);

/// A back-propagation network of fully connected layers, e.g. {64, 32, 10}.
NX_EXPORT BackPropNet MakeBackPropNet(const std::vector<unsigned>& sizes, const NetOptions& options = {});
/// A back-propagation network of any topology the library builds.
NX_EXPORT BackPropNet MakeBackPropNet(const NxNeuralBase::ConfigData& config);
/// A back-propagation network described by a network specification file.
NX_EXPORT BackPropNet LoadBackPropNet(const std::string& fileName);
/// A temporal-difference network of fully connected layers with the given
/// persistence (lambda), 0 to 1.
NX_EXPORT TempDiffNet MakeTempDiffNet(const std::vector<unsigned>& sizes, double persistence,
                                      const NetOptions& options = {});

/// A count of values that does not fit the network or data set it is meant
/// for; the message names both counts.
class NX_EXPORT XCSizeMismatch : public XCBase {
 public:
  /// `what` names the values, e.g. "inputs".
  XCSizeMismatch(const std::string& what, size_t expected, size_t found);
  size_t Expected;  ///< the count the network or data set takes
  size_t Found;     ///< the count that was given
};

/// A training request the library cannot carry out (an option out of its
/// range, an algorithm the network's shape does not allow, no patterns).
class NX_EXPORT XCTraining : public XCBase {
 public:
  using XCBase::XCBase;
};

/// Outputs of the network for the inputs, which must be exactly as many as
/// the network's inputs. The span stays valid until the network next runs.
/// @throws XCSizeMismatch for any other number of inputs.
NX_EXPORT std::span<const double> Propagate(NxNeuralNet& net, std::span<const double> inputs);
/// The temporal-difference network's outputs for one observation; `train`
/// and `newSequence` as in NxTemporalDifferenceNet::GetOutput().
/// @throws XCSizeMismatch for a wrong number of inputs.
NX_EXPORT std::span<const double> Observe(NxTemporalDifferenceNet& net, std::span<const double> inputs, bool train,
                                          bool newSequence);
/// Ends an observation sequence with its outcomes, one per output.
/// @throws XCSizeMismatch for a wrong number of outcomes.
NX_EXPORT void TrainOnOutcomes(NxTemporalDifferenceNet& net, std::span<const double> outcomes);

/// Patterns of inputs and targets, held row by row in one block.
class NX_EXPORT DataSet {
 public:
  /// An empty set for patterns of the given sizes.
  DataSet(unsigned numInputs, unsigned numOutputs);

  /// Reads a pattern file for the given sizes: one pattern a line, its
  /// values after an optional '(' (a label may precede it), separated by
  /// spaces or tabs; blank lines are skipped.
  /// @throws XCFile when the file cannot be opened or is no regular file;
  /// XCMessage for a line
  /// that does not hold one pattern ("expected N values, found M, in line
  /// L") or holds text that is not a number.
  static DataSet FromPatternFile(const std::string& fileName, unsigned numInputs, unsigned numOutputs);
  /// Reads a pattern file for the sizes of `net`.
  static DataSet FromPatternFile(const std::string& fileName, const NxNeuralNet& net);

  /// Adds a pattern. @throws XCSizeMismatch when a span has the wrong size,
  /// XCBase for a value that is not a finite number.
  void Add(std::span<const double> inputs, std::span<const double> targets);
  /// Writes the set as a pattern file that FromPatternFile() and the
  /// library's ReadIOPatterns() read back.
  void WritePatternFile(const std::string& fileName) const;

  unsigned NumInputs() const { return Inputs_; }    ///< values of inputs per pattern
  unsigned NumOutputs() const { return Outputs_; }  ///< values of targets per pattern
  size_t Size() const { return Width() ? Values.size() / Width() : 0; }  ///< number of patterns
  bool Empty() const { return Values.empty(); }                          ///< whether it holds no pattern
  /// Pattern `i`'s inputs followed by its targets.
  std::span<const double> Row(size_t i) const { return {Values.data() + i * Width(), Width()}; }
  /// Pattern `i`'s inputs.
  std::span<const double> Inputs(size_t i) const { return Row(i).first(Inputs_); }
  /// Pattern `i`'s targets.
  std::span<const double> Targets(size_t i) const { return Row(i).subspan(Inputs_); }
  /// The patterns from `first` on, `count` of them.
  DataSet Slice(size_t first, size_t count) const;

 private:
  size_t Width() const { return size_t(Inputs_) + Outputs_; }
  unsigned Inputs_;
  unsigned Outputs_;
  std::vector<double> Values;
};

/// How the weights learn.
enum class Algorithm {
  Rprop,       ///< iRPROP-: one step per epoch, each weight with its own step size; needs no rate
  Batch,       ///< gradient descent on the epoch's mean gradient, with momentum
  PerPattern,  ///< the library's rule: the weights change after every pattern
};

/// Why training stopped.
enum class StopReason {
  EpochLimit,    ///< MaxEpochs were trained
  TargetError,   ///< the training error fell below TargetMse
  NoImprovement  ///< the validation error did not improve for Patience epochs
};

/// One epoch as Train() saw it, for progress reports.
struct EpochRecord {
  unsigned Epoch = 0;        ///< epochs trained so far, from 1
  double TrainingMse = 0;    ///< mean squared error on the training patterns as the epoch met them
  double ValidationMse = 0;  ///< the same on the validation patterns after the epoch (0 without them)
};

/// What Train() does. The defaults train a classifier such as 64-32-10 on
/// handwritten digits well without tuning.
struct TrainOptions {
  Algorithm Method = Algorithm::Rprop;  ///< the learning rule
  /// Learning rate of Batch and PerPattern, 0 to 10; PerPattern sets it,
  /// and the momentum, on every node, where they stay.
  double Rate = 0.7;
  double Momentum = 0.0;  ///< momentum of Batch and PerPattern, 0 to 1
  /// Rprop and Batch: each pattern adds WeightDecay / 2 times the sum of the
  /// squared weights (biases excepted) to the error it minimises, 0 to 1;
  /// it keeps a large network from fitting the training set's noise.
  double WeightDecay = 2e-5;
  unsigned MaxEpochs = 100;             ///< the epoch limit, at least 1
  /// Stop once the training set's mean squared error is below this; 0 never.
  double TargetMse = 0.0;
  /// The share of the patterns held out for validation, 0 to 0.9. With a
  /// share, training stops after Patience epochs without a better
  /// validation error, and the network keeps the weights of its best
  /// validation error unless it stopped at the target error (a network
  /// that is not a chain of fully connected layers keeps its last ones).
  double ValidationShare = 0.0;
  unsigned Patience = 20;  ///< epochs without improvement before stopping
  /// PerPattern: a new order of the patterns every epoch.
  bool Shuffle = true;
  /// Seeds the shuffles and the validation split, so that runs repeat.
  unsigned Seed = 1;
  /// Fit a scaling of every input onto -1..1 on the training patterns and
  /// train on scaled inputs, taking the network's present weights as
  /// weights for scaled inputs (as freshly drawn ones are). Afterwards the
  /// scaling is folded into the first layer's weights, so that the network,
  /// and any weights file written from it, takes raw inputs. Turn it off to
  /// train on further from weights trained before. Networks that are not a
  /// chain of fully connected layers always train on raw inputs.
  bool ScaleInputs = true;
  /// Called after every epoch; reporting never changes what is learned.
  std::function<void(const EpochRecord&)> OnEpoch;
};

/// The outcome of Train().
struct TrainReport {
  unsigned Epochs = 0;              ///< epochs trained
  StopReason Stop = StopReason::EpochLimit;  ///< why training stopped
  double TrainingMse = 0;           ///< mean squared error on the training patterns, after training
  double ValidationMse = 0;         ///< the same on the validation patterns (0 without them)
  bool OneOfN = false;              ///< the targets are one-of-N classes
  double TrainingAccuracy = 0;      ///< share classified right, when OneOfN
  double ValidationAccuracy = 0;    ///< the same on the validation patterns
  unsigned TrainingPatterns = 0;    ///< patterns trained on
  unsigned ValidationPatterns = 0;  ///< patterns held out
};

/// Trains the network on the data set.
/// @throws XCSizeMismatch when the data set's sizes differ from the
/// network's, XCTraining for an option out of range, an empty set, or Rprop
/// or Batch on a network that is not a chain of fully connected layers.
NX_EXPORT TrainReport Train(NxNeuralNet& net, const DataSet& data, const TrainOptions& options = {});

/// How a network does on a data set.
struct Evaluation {
  double Mse = 0;       ///< mean squared error over every output of every pattern
  bool OneOfN = false;  ///< every target row has exactly one value above 0.5
  double Accuracy = 0;  ///< share of patterns whose largest output is the target's class
  unsigned Classes = 0; ///< N, when OneOfN
  /// Confusion counts, Classes x Classes: [target * Classes + predicted].
  std::vector<unsigned> Confusion;
};

/// Evaluates the network on every pattern of the data set.
/// @throws XCSizeMismatch when the sizes differ.
NX_EXPORT Evaluation Evaluate(NxNeuralNet& net, const DataSet& data);

/// Whether the targets are one-of-N: at least two outputs, and exactly one
/// target above 0.5 in every pattern.
NX_EXPORT bool IsOneOfN(const DataSet& data);
/// The index of the largest value (the first of equals).
NX_EXPORT unsigned ArgMax(std::span<const double> values);

}  // namespace nx
