#include "arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

unsigned ParseCount(std::string_view option, std::string_view text, unsigned minimum) {
  std::string value(text);
  char* end = nullptr;
  errno = 0;
  unsigned long long number = value.empty() || value[0] == '-' ? 0 : std::strtoull(value.c_str(), &end, 10);
  if (!end || *end != '\0' || errno == ERANGE || number < minimum || number > 4294967295ull)
    throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(minimum) +
                     " to 4294967295, not '" + value + "'");
  return static_cast<unsigned>(number);
}

double ParseTolerance(std::string_view text) {
  std::string value(text);
  char* end = nullptr;
  double number = std::strtod(value.c_str(), &end);
  if (value.empty() || *end != '\0' || !std::isfinite(number) || number < 0)
    throw UsageError("--tolerance needs a number of 0 or more, not '" + value + "'");
  return number;
}

// A decimal number within [minimum, maximum]; the message names the range.
double ParseBounded(std::string_view option, std::string_view text, double minimum, double maximum) {
  std::string value(text);
  char* end = nullptr;
  double number = value.empty() ? 0 : std::strtod(value.c_str(), &end);
  if (!end || *end != '\0' || !std::isfinite(number) || number < minimum || number > maximum) {
    char range[64];
    std::snprintf(range, sizeof range, "%g to %g", minimum, maximum);
    throw UsageError(std::string(option) + " needs a number from " + range + ", not '" + value + "'");
  }
  return number;
}

TrainAlgorithm ParseAlgorithm(std::string_view text) {
  if (text == "rprop") return TrainAlgorithm::Rprop;
  if (text == "batch") return TrainAlgorithm::Batch;
  if (text == "per-pattern") return TrainAlgorithm::PerPattern;
  if (text == "standard") return TrainAlgorithm::Standard;
  throw UsageError("--algorithm takes rprop, batch, per-pattern or standard, not '" + std::string(text) + "'");
}

// Options that only the library's own training has.
void CheckStandardOnly(const TrainOptions& options) {
  if (options.algorithm == TrainAlgorithm::Standard) {
    if (options.targetMse > 0 || options.validation > 0 || options.patience || options.fixedDecay ||
        !options.scaleInputs)
      throw UsageError(
          "--target-mse, --validation, --patience, --decay and --no-scaling need another --algorithm than standard");
    return;
  }
  if (options.fixedTolerance || options.byEpoch)
    throw UsageError("--tolerance and --by-epoch need --algorithm standard");
}

// The value of an option that takes one, advancing past it.
std::string_view TakeValue(const std::vector<std::string_view>& args, size_t& i) {
  if (i + 1 >= args.size()) throw UsageError(std::string(args[i]) + " needs a value");
  return args[++i];
}

void ApplyTrainOption(TrainOptions& options, const std::vector<std::string_view>& args, size_t& i) {
  std::string_view option = args[i];
  if (option == "--patterns") {
    options.patterns = ParseCount(option, TakeValue(args, i), 1);
  } else if (option == "--epochs") {
    options.epochs = ParseCount(option, TakeValue(args, i), 1);
  } else if (option == "--report") {
    options.report = ParseCount(option, TakeValue(args, i), 1);
  } else if (option == "--tolerance") {
    options.tolerance = ParseTolerance(TakeValue(args, i));
    options.fixedTolerance = true;
  } else if (option == "--algorithm") {
    options.algorithm = ParseAlgorithm(TakeValue(args, i));
  } else if (option == "--target-mse") {
    options.targetMse = ParseBounded(option, TakeValue(args, i), 0, 1);
  } else if (option == "--validation") {
    options.validation = ParseBounded(option, TakeValue(args, i), 0, 0.9);
  } else if (option == "--patience") {
    options.patience = ParseCount(option, TakeValue(args, i), 1);
  } else if (option == "--decay") {
    options.decay = ParseBounded(option, TakeValue(args, i), 0, 1);
    options.fixedDecay = true;
  } else if (option == "--no-scaling") {
    options.scaleInputs = false;
  } else if (option == "--rate") {
    options.rate = ParseBounded(option, TakeValue(args, i), 0, MAX_RATE);
    options.fixedRate = true;
  } else if (option == "--momentum") {
    options.momentum = ParseBounded(option, TakeValue(args, i), 0, 1);
    options.fixedMomentum = true;
  } else if (option == "--by-epoch") {
    options.byEpoch = true;
  } else if (option == "--shuffle") {
    options.shuffle = true;
  } else if (option == "--seed") {
    options.seed = ParseCount(option, TakeValue(args, i), 0);
    options.fixedSeed = true;
  } else if (option == "--save") {
    options.saveFile = TakeValue(args, i);
  } else if (option == "--load") {
    options.loadFile = TakeValue(args, i);
  } else {
    throw UsageError("unknown option '" + std::string(option) + "'");
  }
}

}  // namespace

TrainOptions ParseTrainArguments(const std::vector<std::string_view>& args) {
  TrainOptions options;
  std::vector<std::string_view> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].size() > 2 && args[i].substr(0, 2) == "--")
      ApplyTrainOption(options, args, i);
    else
      files.push_back(args[i]);
  }
  if (files.size() != 2) throw UsageError("train needs a specification file and a pattern file");
  CheckStandardOnly(options);
  options.specFile = files[0];
  options.patternFile = files[1];
  return options;
}

EvalOptions ParseEvalArguments(const std::vector<std::string_view>& args) {
  EvalOptions options;
  std::vector<std::string_view> files;
  for (std::string_view arg : args) {
    if (arg == "--summary")
      options.summary = true;
    else if (arg.size() > 2 && arg.substr(0, 2) == "--")
      throw UsageError("unknown option '" + std::string(arg) + "'");
    else
      files.push_back(arg);
  }
  if (files.size() != 3) throw UsageError("eval needs a specification file, a weights file and a pattern file");
  options.specFile = files[0];
  options.weightsFile = files[1];
  options.patternFile = files[2];
  return options;
}
