#include "backprop_bench.h"

#include <chrono>
#include <memory>
#include <vector>

#include "neural/neural.h"
#include "record_line.h"

namespace backprop_bench {

namespace {

using Clock = std::chrono::steady_clock;

NxNeuralBase::ConfigData Layered(int inputs, int hidden, int outputs) {
  NxNeuralBase::ConfigData config;
  TSize none{0, 0};
  config.AddLayer(0, TSize{inputs, 1}, SIGMOID);
  config.AddLayer(1, TSize{outputs, 1}, SIGMOID);
  config.AddLayer(2, TSize{hidden, 1}, SIGMOID);
  config.AddMapping(0, 2, TSize{inputs, 1}, none, none, 0);
  config.AddMapping(2, 1, TSize{hidden, 1}, none, none, 0);
  return config;
}

double Connections(int inputs, int hidden, int outputs) {
  return double(inputs + 1) * hidden + double(hidden + 1) * outputs;
}

// Rows the net owns once given, allocated as the pattern reader does.
double** RandomRows(unsigned count, int inputs, int outputs) {
  NxRandomGenerator random;
  random.Seed = 261208;
  random.InitTable();
  double** rows = new double*[count];
  for (unsigned p = 0; p < count; ++p) {
    rows[p] = new double[inputs + outputs];
    for (int i = 0; i < inputs; ++i) rows[p][i] = random.rand() / double(NxRandomGenerator::MODULUS);
    for (int k = 0; k < outputs; ++k) rows[p][inputs + k] = k == random.rand() % outputs ? 1.0 : 0.0;
  }
  return rows;
}

struct NetDeleter {
  void operator()(NxNeuralBase* net) const { DeleteNet(net); }
};

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

Figure Wide(unsigned epochs) {
  const int inputs = 64, hidden = 64, outputs = 10;
  const unsigned patterns = 5000;
  NxFixRandomSeed(1);
  std::unique_ptr<NxNeuralBase, NetDeleter> base(CreateBackPropNet(Layered(inputs, hidden, outputs)));
  auto* net = static_cast<NxNeuralNet*>(base.get());
  // A report interval past the run keeps the error bookkeeping out of it.
  net->SetupTraining(RandomRows(patterns, inputs, outputs), patterns, 1u << 30, 0.0, epochs, false, true);
  auto start = Clock::now();
  net->DoSomeTraining(epochs * patterns);
  double seconds = Seconds(start);
  double updates = Connections(inputs, hidden, outputs);
  return Figure{"backprop 64-64-10", updates, seconds * 1e9 / (updates * patterns * epochs)};
}

Figure Xor(unsigned epochs) {
  const int inputs = 2, hidden = 4, outputs = 1;
  const unsigned patterns = 4;
  static double table[4][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
  double** rows = new double*[patterns];
  for (unsigned p = 0; p < patterns; ++p) rows[p] = new double[3]{table[p][0], table[p][1], table[p][2]};
  NxFixRandomSeed(1);
  std::unique_ptr<NxNeuralBase, NetDeleter> base(CreateBackPropNet(Layered(inputs, hidden, outputs)));
  auto* net = static_cast<NxNeuralNet*>(base.get());
  auto* list = new NxTrainingOutputList();
  net->SetTrainingOutputList(list, true);
  net->SetupTraining(rows, patterns, 10, 0.0, epochs, false, true);
  const unsigned slice = 4096 / patterns * patterns;
  volatile size_t printed = 0;
  Clock::rep lastLook = 0;  // nxtrain's progress line looks at the clock once a slice
  auto start = Clock::now();
  while (net->IsTraining()) {
    net->DoSomeTraining(slice);
    for (unsigned i = 0; i < list->GetNumItems(); ++i) {
      printed = printed + RecordLine(list->GetItem(i)).size();
    }
    list->Clear();
    lastLook = Clock::now().time_since_epoch().count();
  }
  double seconds = Seconds(start);
  printed = printed + static_cast<unsigned>(lastLook & 1);
  double updates = Connections(inputs, hidden, outputs);
  return Figure{"backprop 2-4-1", updates, seconds * 1e9 / (updates * patterns * net->GetEpochCount())};
}

}  // namespace backprop_bench
