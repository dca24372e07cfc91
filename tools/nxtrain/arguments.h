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

struct TrainOptions {
  std::string specFile;
  std::string patternFile;
  unsigned patterns = 0;  // 0: every complete pattern in the file
  unsigned epochs = 10000;
  unsigned report = 10;
  double tolerance = 0.1;
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
