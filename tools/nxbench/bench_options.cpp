#include "bench_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "digits.h"

namespace {

unsigned ParseCount(std::string_view option, std::string_view text, unsigned minimum) {
  const std::string value(text);
  char* end = nullptr;
  errno = 0;
  const unsigned long long number = value.empty() || value[0] == '-' ? 0 : std::strtoull(value.c_str(), &end, 10);
  if (!end || *end != '\0' || errno == ERANGE || number < minimum || number > 4294967295ull)
    throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(minimum) +
                     " to 4294967295, not '" + value + "'");
  return static_cast<unsigned>(number);
}

double ParseNumber(std::string_view option, std::string_view text, double minimum, double maximum) {
  const std::string value(text);
  char* end = nullptr;
  const double number = value.empty() ? NAN : std::strtod(value.c_str(), &end);
  if (!end || *end != '\0' || !(number >= minimum && number <= maximum))
    throw UsageError(std::string(option) + " needs a number from " + std::to_string(minimum) + " to " +
                     std::to_string(maximum) + ", not '" + value + "'");
  return number;
}

std::vector<unsigned> ParseSeeds(std::string_view text) {
  std::vector<unsigned> seeds;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    seeds.push_back(ParseCount("--seeds", text.substr(start, comma - start), 1));
    start = comma + 1;
  }
  return seeds;
}

nx::Algorithm ParseAlgorithm(std::string_view text) {
  if (text == "rprop") return nx::Algorithm::Rprop;
  if (text == "batch") return nx::Algorithm::Batch;
  if (text == "per-pattern") return nx::Algorithm::PerPattern;
  throw UsageError("--algorithm takes rprop, batch or per-pattern, not '" + std::string(text) + "'");
}

std::string_view TakeValue(const std::vector<std::string_view>& args, size_t& i) {
  if (i + 1 >= args.size()) throw UsageError(std::string(args[i]) + " needs a value");
  return args[++i];
}

}  // namespace

BenchOptions ParseBenchArguments(const std::vector<std::string_view>& args) {
  BenchOptions options;
  options.dataFile = digits::DEFAULT_FILE;
  std::vector<std::string_view> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--seeds") {
      options.seeds = ParseSeeds(TakeValue(args, i));
    } else if (arg == "--epochs") {
      options.training.MaxEpochs = ParseCount(arg, TakeValue(args, i), 1);
      options.epochsGiven = true;
    } else if (arg == "--algorithm") {
      options.training.Method = ParseAlgorithm(TakeValue(args, i));
    } else if (arg == "--rate") {
      options.training.Rate = ParseNumber(arg, TakeValue(args, i), 0, 10);
    } else if (arg == "--momentum") {
      options.training.Momentum = ParseNumber(arg, TakeValue(args, i), 0, 1);
    } else if (arg == "--data") {
      options.dataFile = TakeValue(args, i);
    } else if (arg.substr(0, 2) == "--") {
      throw UsageError("unknown option '" + std::string(arg) + "'");
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) throw UsageError("name a command: digits, xor or digits-patterns");
  options.command = words[0];
  if (options.command == "digits-patterns") {
    if (words.size() != 2) throw UsageError("digits-patterns needs the folder to write to");
    options.outputDir = words[1];
  } else if (options.command != "digits" && options.command != "xor") {
    throw UsageError("unknown command '" + options.command + "'");
  } else if (words.size() != 1) {
    throw UsageError(options.command + " takes no file names");
  }
  return options;
}
