// A program outside the tree, built against an installed copy of the
// library: builds a small network, trains it on exclusive or for a while
// and writes its weights to the file named by the first argument.
#include <neural/neural.h>

#include <cstdio>

static_assert(NX_VERSION_MAJOR == 1, "the installed headers carry the version");

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: client WEIGHTS-FILE\n");
    return 2;
  }
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, TSize{2, 1}, SIGMOID);
  config.AddLayer(2, TSize{3, 1}, SIGMOID);
  config.AddLayer(1, TSize{1, 1}, SIGMOID);
  config.AddMapping(0, 2, TSize{2, 1}, TSize{0, 0}, TSize{0, 0}, 0);
  config.AddMapping(2, 1, TSize{3, 1}, TSize{0, 0}, TSize{0, 0}, 0);
  double table[4][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
  double* rows[4] = {table[0], table[1], table[2], table[3]};
  int status = 1;
  NxNeuralBase* net = nullptr;
  try {
    net = CreateBackPropNet(config);
    unsigned epochs = static_cast<NxNeuralNet*>(net)->Train(rows, 4, 10, 200, false, false);
    if (net->WriteWeights(argv[1], VERSION_0) && net->ReadWeights(argv[1])) {
      std::printf("neural %d.%d.%d: %u epochs, weights in %s\n", NX_VERSION_MAJOR, NX_VERSION_MINOR,
                  NX_VERSION_PATCH, epochs, argv[1]);
      status = 0;
    }
  } catch (const XCBase& error) {
    std::fprintf(stderr, "client: %s\n", error.what());
  }
  DeleteNet(net);
  return status;
}
