// A program outside the tree, built against an installed copy of the
// library: trains a small network on exclusive or through the checked layer,
// writes its weights to the file named by the first argument and reads them
// back, makes sure a wrong-size input is refused with both sizes named, and,
// given the digits split as two pattern files, trains 64-32-10 on them and
// reports the test accuracy.
#include <neural/neural.h>
#include <neural/trainer.h>

#include <cstdio>
#include <string>

static_assert(NX_VERSION_MAJOR == 1, "the installed headers carry the version");

namespace {

bool RefusesAWrongSize(NxNeuralNet& net) {
  try {
    nx::Propagate(net, std::vector<double>(3, 0.0));
  } catch (const XCBase& error) {
    return std::string(error.what()) == "expected 2 inputs, found 3";
  }
  return false;
}

void Digits(const char* trainFile, const char* testFile) {
  nx::BackPropNet net = nx::MakeBackPropNet({64, 32, 10}, {.Seed = 1});
  nx::Train(*net, nx::DataSet::FromPatternFile(trainFile, *net));
  const nx::Evaluation test = nx::Evaluate(*net, nx::DataSet::FromPatternFile(testFile, *net));
  std::printf("digits test accuracy %.2f%%\n", 100 * test.Accuracy);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: client WEIGHTS-FILE [DIGITS-TRAIN.pat DIGITS-TEST.pat]\n");
    return 2;
  }
  try {
    nx::DataSet data(2, 1);
    for (double a : {0.0, 1.0})
      for (double b : {0.0, 1.0}) data.Add(std::vector<double>{a, b}, std::vector<double>{a != b ? 1.0 : 0.0});
    nx::BackPropNet net = nx::MakeBackPropNet({2, 3, 1});
    nx::TrainOptions options;
    options.MaxEpochs = 200;
    const unsigned epochs = nx::Train(*net, data, options).Epochs;
    if (!net->WriteWeights(argv[1], VERSION_0) || !net->ReadWeights(argv[1])) return 1;
    if (!RefusesAWrongSize(*net)) {
      std::fprintf(stderr, "client: a wrong-size input was not refused as expected\n");
      return 1;
    }
    std::printf("neural %d.%d.%d: %u epochs, weights in %s\n", NX_VERSION_MAJOR, NX_VERSION_MINOR, NX_VERSION_PATCH,
                epochs, argv[1]);
    if (argc == 4) Digits(argv[2], argv[3]);
  } catch (const XCBase& error) {
    std::fprintf(stderr, "client: %s\n", error.what());
    return 1;
  }
  return 0;
}
