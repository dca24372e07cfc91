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

struct TrainOptions {
  std::string specFile;
  std::string patternFile;
  unsigned patterns = 0;  // 0: every complete pattern in the file
  unsigned epochs = 10000;
  unsigned report = 10;
  double tolerance = 0.1;
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
};

TrainOptions ParseTrainArguments(const std::vector<std::string_view>& args);
EvalOptions ParseEvalArguments(const std::vector<std::string_view>& args);
