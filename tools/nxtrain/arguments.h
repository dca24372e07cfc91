#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A mistake on the command line; main prints it with the usage hint.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The largest rate, as a specification file's LEARN-RATE accepts it.
constexpr double MAX_RATE = 10.0;

// The library's own training, with its tolerance and rate schedule, and the
// rules of the checked layer, whose defaults nxtrain follows.
enum class TrainAlgorithm { Standard, Rprop, Batch, PerPattern };

struct TrainOptions {
  std::string specFile;
  std::string patternFile;
  TrainAlgorithm algorithm = TrainAlgorithm::Rprop;
  unsigned patterns = 0;  // 0: every complete pattern in the file
  // 0: the algorithm's own default (10000 standard, the layer's otherwise).
  unsigned epochs = 0;
  unsigned report = 10;
  // Only the standard algorithm has a tolerance; set says it was given.
  double tolerance = 0.1;
  bool fixedTolerance = false;
  double targetMse = 0;
  double validation = 0;
  unsigned patience = 0;  // 0: the layer's
  bool fixedDecay = false;
  double decay = 0;
  bool scaleInputs = true;
  // One learning rate and momentum for every node instead of the standard
  // set-up, which gives each node its own from its number of sources.
  bool fixedRate = false;
  double rate = 0;
  bool fixedMomentum = false;
  double momentum = 0;
  bool byEpoch = false;
  bool shuffle = false;
  std::string saveFile;
  std::string loadFile;
  bool fixedSeed = false;
  unsigned seed = 0;
};

struct EvalOptions {
  std::string specFile;
  std::string weightsFile;
  std::string patternFile;
  bool summary = false;  // the totals without a line per pattern
};

TrainOptions ParseTrainArguments(const std::vector<std::string_view>& args);
EvalOptions ParseEvalArguments(const std::vector<std::string_view>& args);
