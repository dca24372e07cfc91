// nxtrain train through the checked layer: RPROP, batch or per-pattern
// training, with the layer's defaults unless an option says otherwise.
#include <cstdio>
#include <random>
#include <stdexcept>

#include "arguments.h"
#include "commands.h"
#include "neural/seed.h"
#include "neural/trainer.h"
#include "progress_line.h"

namespace {

nx::Algorithm LayerAlgorithm(TrainAlgorithm algorithm) {
  if (algorithm == TrainAlgorithm::Batch) return nx::Algorithm::Batch;
  if (algorithm == TrainAlgorithm::PerPattern) return nx::Algorithm::PerPattern;
  return nx::Algorithm::Rprop;
}

const char* StopText(nx::StopReason stop) {
  if (stop == nx::StopReason::TargetError) return "reached the target error";
  if (stop == nx::StopReason::NoImprovement) return "stopped: the validation error no longer improved";
  return "epoch limit reached";
}

nx::TrainOptions LayerOptions(const TrainOptions& options) {
  nx::TrainOptions layer;
  layer.Method = LayerAlgorithm(options.algorithm);
  if (options.epochs) layer.MaxEpochs = options.epochs;
  if (options.fixedRate) layer.Rate = options.rate;
  if (options.fixedMomentum) layer.Momentum = options.momentum;
  if (options.fixedDecay) layer.WeightDecay = options.decay;
  if (options.patience) layer.Patience = options.patience;
  layer.TargetMse = options.targetMse;
  layer.ValidationShare = options.validation;
  layer.Seed = options.fixedSeed ? options.seed : std::random_device()();
  // Weights from a file were trained on raw inputs; scaling them again
  // would take them for weights of scaled ones.
  layer.ScaleInputs = options.scaleInputs && options.loadFile.empty();
  return layer;
}

void PrintReport(const nx::TrainReport& report) {
  std::printf("%s after %u epochs: training mean squared error %.6f", StopText(report.Stop), report.Epochs,
              report.TrainingMse);
  if (report.OneOfN) std::printf(", accuracy %.2f%%", 100 * report.TrainingAccuracy);
  std::printf(" on %u patterns\n", report.TrainingPatterns);
  if (report.ValidationPatterns == 0) return;
  std::printf("validation mean squared error %.6f", report.ValidationMse);
  if (report.OneOfN) std::printf(", accuracy %.2f%%", 100 * report.ValidationAccuracy);
  std::printf(" on %u patterns\n", report.ValidationPatterns);
}

}  // namespace

int RunLayerTrain(const TrainOptions& options) {
  if (options.fixedSeed) NxFixRandomSeed(options.seed);
  nx::BackPropNet net = nx::LoadBackPropNet(options.specFile);
  if (!options.loadFile.empty() && !net->ReadWeights(options.loadFile.c_str()))
    throw std::runtime_error("weights file " + options.loadFile + " does not fit the network of " +
                             options.specFile + ": " + net->GetErrorText());
  nx::DataSet data = nx::DataSet::FromPatternFile(options.patternFile, *net);
  if (options.patterns) data = data.Slice(0, options.patterns);
  nx::TrainOptions layer = LayerOptions(options);
  ProgressLine progress(layer.MaxEpochs, "mean squared error");
  const bool validating = layer.ValidationShare > 0;
  // Printed with the first epoch, so that a refusal comes alone.
  auto printHeader = [&] {
    std::printf("training %s on %zu patterns from %s\n", options.specFile.c_str(), data.Size(),
                options.patternFile.c_str());
    std::printf(validating ? "%8s  %14s  %14s\n" : "%8s  %14s\n", "epoch", "training mse", "validation mse");
  };
  layer.OnEpoch = [&](const nx::EpochRecord& record) {
    if (record.Epoch == 1) printHeader();
    if (record.Epoch % options.report == 0) {
      progress.Finish();
      if (validating)
        std::printf("%8u  %14.6f  %14.6f\n", record.Epoch, record.TrainingMse, record.ValidationMse);
      else
        std::printf("%8u  %14.6f\n", record.Epoch, record.TrainingMse);
    }
    progress.Update(record.Epoch, record.TrainingMse);
  };
  nx::TrainReport report;
  try {
    report = nx::Train(*net, data, layer);
  } catch (const nx::XCTraining& error) {
    throw std::runtime_error(std::string(error.what()) + " (--algorithm per-pattern)");
  }
  if (report.Epochs == 0) printHeader();
  progress.Finish();
  PrintReport(report);
  if (!options.saveFile.empty()) {
    if (!net->WriteWeights(options.saveFile.c_str(), VERSION_1))
      throw std::runtime_error("could not write weights file " + options.saveFile);
    std::printf("weights saved to %s\n", options.saveFile.c_str());
  }
  const bool missedTarget = layer.TargetMse > 0 && report.Stop != nx::StopReason::TargetError;
  return missedTarget ? EXIT_EPOCH_LIMIT : EXIT_CONVERGED;
}

int RunTrain(const std::vector<std::string_view>& args) {
  const TrainOptions options = ParseTrainArguments(args);
  if (options.algorithm == TrainAlgorithm::Standard) return RunStandardTrain(options);
  return RunLayerTrain(options);
}
