// A classifier trained from pattern files with the layer's defaults:
//   classifier INPUTS CLASSES TRAIN.pat TEST.pat
// builds INPUTS-32-CLASSES, trains it on TRAIN.pat (one-of-N targets) and
// reports its accuracy on TEST.pat.
#include <neural/trainer.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: classifier INPUTS CLASSES TRAIN.pat TEST.pat\n");
    return 2;
  }
  try {
    const unsigned inputs = std::atoi(argv[1]), classes = std::atoi(argv[2]);
    nx::BackPropNet net = nx::MakeBackPropNet({inputs, 32, classes}, {.Seed = 1});
    const nx::TrainReport report = nx::Train(*net, nx::DataSet::FromPatternFile(argv[3], *net));
    const nx::Evaluation test = nx::Evaluate(*net, nx::DataSet::FromPatternFile(argv[4], *net));
    std::printf("%u epochs, training accuracy %.2f%%, test accuracy %.2f%%\n", report.Epochs,
                100 * report.TrainingAccuracy, 100 * test.Accuracy);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "classifier: %s\n", error.what());
    return 2;
  }
  return 0;
}
