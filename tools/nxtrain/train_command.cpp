#include <cstdio>
#include <stdexcept>

#include "arguments.h"
#include "commands.h"
#include "neural/backprop_net.h"
#include "neural/seed.h"
#include "progress_line.h"
#include "record_line.h"

namespace {

// Patterns per slice of training while the order stays fixed: enough that a
// tiny network spends its time training rather than looking at the clock and
// the records between slices.
constexpr unsigned SLICE_PATTERNS = 4096;

void PrintHeader() {
  std::printf("%8s  %12s  %12s  %12s  %7s\n", "epoch", "max error", "mean abs err", "rms error", "worst");
}

void PrintRecord(const NxTrainingOutput& record) {
  const RecordLine line(record);
  std::fwrite(line.data(), 1, line.size(), stdout);
}

// Whole epochs, so that every slice starts an epoch; one epoch at a time
// when the order is shuffled before each.
unsigned SliceSize(unsigned numPatterns, bool shuffle) {
  if (numPatterns == 0) return 1;  // nothing trains; the loop ends at once
  if (shuffle || numPatterns >= SLICE_PATTERNS) return numPatterns;
  return SLICE_PATTERNS / numPatterns * numPatterns;
}

// Prints the records as they arrive and then forgets them, so that a long
// run neither waits until the end to show them nor keeps them all.
void TrainInSlices(NxNeuralNet& net, NxTrainingOutputList& list, const TrainOptions& options, unsigned epochs) {
  ProgressLine progress(epochs);
  unsigned slice = SliceSize(net.GetNumPatterns(), options.shuffle);
  PrintHeader();
  while (net.IsTraining()) {
    if (options.shuffle) net.RandomizeIOPatterns();
    net.DoSomeTraining(slice);
    if (list.GetNumItems() > 0) {
      progress.Finish();
      for (unsigned i = 0; i < list.GetNumItems(); ++i) PrintRecord(list.GetItem(i));
      list.Clear();
      std::fflush(stdout);
    }
    progress.Update(net.GetEpochCount(), net.GetMaxPatternError());
  }
  progress.Finish();
}

// The library's setters replace the standard set-up on every node.
void ApplyLearningOptions(NxNeuralNet& net, const TrainOptions& options) {
  if (options.fixedRate) net.SetGlobalLearningRate(options.rate);
  if (options.fixedMomentum) net.SetGlobalMomentum(options.momentum);
}

}  // namespace

int RunStandardTrain(const TrainOptions& options) {
  const unsigned epochs = options.epochs ? options.epochs : 10000;
  if (options.fixedSeed) NxFixRandomSeed(options.seed);
  NxNeuralNet net(options.specFile.c_str());
  if (!options.loadFile.empty() && !net.ReadWeights(options.loadFile.c_str()))
    throw std::runtime_error("weights file " + options.loadFile + " does not fit the network of " +
                             options.specFile);
  ApplyLearningOptions(net, options);
  net.ReadIOPatterns(options.patternFile.c_str(), options.patterns);
  NxTrainingOutputList* list = new NxTrainingOutputList();
  net.SetTrainingOutputList(list, true);
  net.SetupTraining(net.GetIOPatterns(), net.GetNumPatterns(), options.report, options.tolerance, epochs,
                    options.byEpoch, true);
  std::printf("training %s on %u patterns from %s\n", options.specFile.c_str(), net.GetNumPatterns(),
              options.patternFile.c_str());
  TrainInSlices(net, *list, options, epochs);
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
