// nxbench: how well and how fast the library learns, through the checked
// layer: digits 64-32-10 and exclusive or 2-4-1, seed by seed.
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "bench_options.h"
#include "digits.h"
#include "fann_side.h"
#include "neural/trainer.h"

namespace {

constexpr int EXIT_ERROR = 2;
// What ctest takes for a skipped test: the data set is not installed.
constexpr int EXIT_NO_DATA = 77;

const char* const HELP_TEXT =
    "usage:\n"
    "  nxbench digits [options]           digits 64-32-10: test accuracy and time per epoch\n"
    "  nxbench xor [options]              exclusive or 2-4-1: epochs to a mean squared error under 0.001\n"
    "  nxbench digits-patterns DIR        writes digits.spec, digits-train.pat (the first 1,400\n"
    "                                     images) and digits-test.pat (the other 397) into DIR\n"
    "options:\n"
    "  --seeds A,B,...   seeds of the initial weights, 1 or more (default 1,2,3)\n"
    "  --epochs N        epoch limit (default: the layer's, 100; xor 100000)\n"
    "  --algorithm A     rprop (default), batch or per-pattern\n"
    "  --rate R          learning rate of batch and per-pattern, 0..10 (default 0.7)\n"
    "  --momentum M      momentum of batch and per-pattern, 0..1 (default 0)\n"
    "  --data FILE       the digits file (default: the one python3-sklearn installs)\n"
    "Pin it to one core for steady times: taskset -c 1 nxbench digits.\n"
    "Built with Debian's libfann-dev, each run is also trained with FANN, with the same layers,\n"
    "algorithm, rate, momentum, epochs and seed, and printed beside ours on lines starting fann.\n"
    "Exit status: 0 done, 2 error, 77 the digits file is not there.\n";

using Clock = std::chrono::steady_clock;

nx::DataSet LoadDigitsOrExit(const BenchOptions& options) {
  std::optional<nx::DataSet> data = digits::Load(options.dataFile);
  if (!data) {
    std::fprintf(stderr, "nxbench: no digits file %s (Debian's python3-sklearn ships it)\n",
                 options.dataFile.c_str());
    std::exit(EXIT_NO_DATA);
  }
  return *data;
}

int RunDigits(const BenchOptions& options) {
  const nx::DataSet data = LoadDigitsOrExit(options);
  const nx::DataSet training = data.Slice(0, digits::TRAINING_ROWS);
  const nx::DataSet test = data.Slice(digits::TRAINING_ROWS, data.Size());
  double accuracySum = 0, msSum = 0, fannAccuracySum = 0, fannMsSum = 0;
  for (unsigned seed : options.seeds) {
    nx::BackPropNet net = nx::MakeBackPropNet({64, 32, 10}, {.Seed = seed});
    nx::TrainOptions trainOptions = options.training;
    trainOptions.Seed = seed;
    const auto start = Clock::now();
    const nx::TrainReport report = nx::Train(*net, training, trainOptions);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const nx::Evaluation result = nx::Evaluate(*net, test);
    const double perEpoch = ms / report.Epochs;
    std::printf("digits seed %u: %u epochs, %.3f ms/epoch, training accuracy %.2f%%, test accuracy %.2f%% (%zu images)\n",
                seed, report.Epochs, perEpoch, 100 * report.TrainingAccuracy, 100 * result.Accuracy, test.Size());
    accuracySum += result.Accuracy;
    msSum += perEpoch;
    if (const auto fann = fann_side::Train({64, 32, 10}, training, &test, trainOptions, seed)) {
      std::printf("fann   seed %u: %u epochs, %.3f ms/epoch, test accuracy %.2f%%\n", seed, fann->Epochs,
                  fann->MsPerEpoch, 100 * fann->TestAccuracy);
      fannAccuracySum += fann->TestAccuracy;
      fannMsSum += fann->MsPerEpoch;
    }
  }
  const double n = static_cast<double>(options.seeds.size());
  std::printf("digits mean: test accuracy %.2f%%, %.3f ms/epoch\n", 100 * accuracySum / n, msSum / n);
  if (fann_side::Available())
    std::printf("fann   mean: test accuracy %.2f%%, %.3f ms/epoch (ours takes %.2f of its time)\n",
                100 * fannAccuracySum / n, fannMsSum / n, msSum / fannMsSum);
  return 0;
}

int RunXor(const BenchOptions& options) {
  nx::DataSet data(2, 1);
  for (double a : {0.0, 1.0})
    for (double b : {0.0, 1.0}) data.Add(std::vector<double>{a, b}, std::vector<double>{a != b ? 1.0 : 0.0});
  nx::TrainOptions trainOptions = options.training;
  trainOptions.TargetMse = 0.001;
  if (!options.epochsGiven) trainOptions.MaxEpochs = 100000;
  unsigned reached = 0, fannReached = 0;
  double epochSum = 0, fannEpochSum = 0;
  for (unsigned seed : options.seeds) {
    nx::BackPropNet net = nx::MakeBackPropNet({2, 4, 1}, {.Seed = seed});
    trainOptions.Seed = seed;
    const nx::TrainReport report = nx::Train(*net, data, trainOptions);
    const bool done = report.Stop == nx::StopReason::TargetError;
    std::printf("xor seed %u: %u epochs, %s (mean squared error %.6f)\n", seed, report.Epochs,
                done ? "reached 0.001" : "did not reach 0.001", report.TrainingMse);
    if (done) {
      ++reached;
      epochSum += report.Epochs;
    }
    if (const auto fann = fann_side::Train({2, 4, 1}, data, nullptr, trainOptions, seed)) {
      std::printf("fann seed %u: %u epochs, %s (mean squared error %.6f)\n", seed, fann->Epochs,
                  fann->ReachedTarget ? "reached 0.001" : "did not reach 0.001", fann->TrainingMse);
      if (fann->ReachedTarget) ++fannReached, fannEpochSum += fann->Epochs;
    }
  }
  if (reached > 0)
    std::printf("xor mean: %.1f epochs over the %u of %zu seeds that reached 0.001\n", epochSum / reached, reached,
                options.seeds.size());
  else
    std::printf("xor: no seed reached 0.001\n");
  if (fannReached > 0)
    std::printf("fann mean: %.1f epochs over the %u of %zu seeds that reached 0.001\n", fannEpochSum / fannReached,
                fannReached, options.seeds.size());
  return 0;
}

void WriteSpec(const std::string& fileName) {
  std::ofstream spec(fileName);
  spec << "Digits: 64 inputs (8x8 pixels of 0..16), 32 hidden sigmoid nodes, 10 outputs, one per digit.\n\n"
          "LAYER : 0\nNODES : 64\nTARGET : 2\n\nLAYER : 1\nNODES : 10\n\nLAYER : 2\nNODES : 32\nTARGET : 1\n";
  if (!spec) throw std::runtime_error("cannot write " + fileName);
}

int RunDigitsPatterns(const BenchOptions& options) {
  const nx::DataSet data = LoadDigitsOrExit(options);
  const std::string dir = options.outputDir + "/";
  WriteSpec(dir + "digits.spec");
  data.Slice(0, digits::TRAINING_ROWS).WritePatternFile(dir + "digits-train.pat");
  data.Slice(digits::TRAINING_ROWS, data.Size()).WritePatternFile(dir + "digits-test.pat");
  std::printf("wrote %sdigits.spec, %sdigits-train.pat (%zu images) and %sdigits-test.pat (%zu images)\n",
              dir.c_str(), dir.c_str(), digits::TRAINING_ROWS, dir.c_str(), data.Size() - digits::TRAINING_ROWS);
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  const BenchOptions options = ParseBenchArguments(args);
  if (options.command == "digits") return RunDigits(options);
  if (options.command == "xor") return RunXor(options);
  return RunDigitsPatterns(options);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::string_view arg : args)
    if (arg == "--help" || arg == "-h") {
      std::fputs(HELP_TEXT, stdout);
      return 0;
    }
  try {
    return Run(args);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "nxbench: %s (see nxbench --help)\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "nxbench: %s\n", error.what());
  }
  return EXIT_ERROR;
}
