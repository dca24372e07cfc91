#include <cstdio>
#include <stdexcept>

#include "arguments.h"
#include "commands.h"
#include "neural/backprop_net.h"
#include "neural/seed.h"
#include "progress_line.h"

namespace {

void PrintTable(const NxTrainingOutputList& list) {
  std::printf("%8s  %12s  %12s  %12s  %7s\n", "epoch", "max error", "mean abs err", "rms error", "worst");
  for (unsigned i = 0; i < list.GetNumItems(); ++i) {
    NxTrainingOutput record = list.GetItem(i);
    std::printf("%8u  %12.6f  %12.6f  %12.6f  %7u\n", record.Epoch, record.MaxError, record.MeanAbsError,
                record.RmsError, record.WorstPattern);
  }
}

// One epoch per slice keeps the display current and lets the order be
// shuffled between epochs.
void TrainInSlices(NxNeuralNet& net, const TrainOptions& options) {
  ProgressLine progress(options.epochs);
  while (net.IsTraining()) {
    if (options.shuffle) net.RandomizeIOPatterns();
    net.DoSomeTraining(net.GetNumPatterns());
    progress.Update(net.GetEpochCount(), net.GetMaxPatternError());
  }
  progress.Finish();
}

}  // namespace

int RunTrain(const std::vector<std::string_view>& args) {
  TrainOptions options = ParseTrainArguments(args);
  if (options.fixedSeed) NxFixRandomSeed(options.seed);
  NxNeuralNet net(options.specFile.c_str());
  if (!options.loadFile.empty() && !net.ReadWeights(options.loadFile.c_str()))
    throw std::runtime_error("weights file " + options.loadFile + " does not fit the network of " +
                             options.specFile);
  net.ReadIOPatterns(options.patternFile.c_str(), options.patterns);
  NxTrainingOutputList* list = new NxTrainingOutputList();
  net.SetTrainingOutputList(list, true);
  net.SetupTraining(net.GetIOPatterns(), net.GetNumPatterns(), options.report, options.tolerance, options.epochs,
                    options.byEpoch, true);
  std::printf("training %s on %u patterns from %s\n", options.specFile.c_str(), net.GetNumPatterns(),
              options.patternFile.c_str());
  TrainInSlices(net, options);
  PrintTable(*list);
  bool converged = net.GetTrainingStatus() == 2;
  if (converged)
    std::printf("converged after %u epochs\n", net.GetEpochCount());
  else
    std::printf("epoch limit reached after %u epochs\n", net.GetEpochCount());
  if (!options.saveFile.empty()) {
    if (!net.WriteWeights(options.saveFile.c_str(), VERSION_1))
      throw std::runtime_error("could not write weights file " + options.saveFile);
    std::printf("weights saved to %s\n", options.saveFile.c_str());
  }
  return converged ? EXIT_CONVERGED : EXIT_EPOCH_LIMIT;
}
