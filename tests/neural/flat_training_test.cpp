// Back-propagation training of fully connected layers runs over flat rows of
// weights. A class derived from the network keeps training node by node, so
// the two can be run side by side: every node must end in the same state.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "backprop_helpers.h"
#include "neural/seed.h"

namespace {

class NodeByNodeNet : public NxNeuralNet {
 public:
  using NxNeuralNet::NxNeuralNet;
};

struct Layer {
  unsigned number;
  int nodes;
  NODETYPE type;
};

struct Link {
  unsigned source;
  unsigned target;
};

NxNeuralBase::ConfigData Config(const std::vector<Layer>& layers, const std::vector<Link>& links) {
  NxNeuralBase::ConfigData config;
  for (const Layer& layer : layers) config.AddLayer(layer.number, TSize{layer.nodes, 1}, layer.type);
  TSize none{0, 0};
  for (const Link& link : links) {
    int width = 0;
    for (const Layer& layer : layers)
      if (layer.number == link.source) width = layer.nodes;
    config.AddMapping(link.source, link.target, TSize{width, 1}, none, none, 0);
  }
  return config;
}

std::vector<std::vector<double>> RandomRows(unsigned count, int inputs, int outputs, double scale, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(0.0, scale);
  std::vector<std::vector<double>> rows(count);
  for (auto& row : rows) {
    for (int i = 0; i < inputs; ++i) row.push_back(value(random));
    for (int k = 0; k < outputs; ++k) row.push_back(random() % 2);
  }
  return rows;
}

// Everything a caller can read of a trained network.
std::vector<double> StateOf(NxNeuralNet& net) {
  std::vector<double> state;
  for (unsigned l = 0; l < NxNeuralBase::MAX_LAYERS; ++l) {
    NxBaseLayer* layer = net.GetLayer(l);
    if (!layer) continue;
    for (unsigned n = 0; n < layer->GetNumNodes(); ++n) {
      NxNode* node = layer->GetNodeAt(n);
      for (unsigned i = 0; i < node->GetNumWeights(); ++i)
        state.insert(state.end(), {double(node->GetWeight(i)), double(node->GetPrevDelta(i)),
                                   double(node->GetWeightAccum(i))});
      state.insert(state.end(), {double(node->GetOutputValue()), double(node->GetNetValue()),
                                 double(node->GetErrorSum()), double(node->GetDerivative()),
                                 double(node->IsNewInput()), double(node->IsTrained()),
                                 double(node->GetLearningRateFP()), double(node->GetMomentumFP())});
      if (l == 1) state.push_back(static_cast<NxOutputNode*>(node)->GetTargetValue());
    }
  }
  NxBackPropOutputLayer* output = net.GetOutputLayer();
  const double* outputs = output->GetOutput();
  state.insert(state.end(), outputs, outputs + output->GetNumNodes());
  state.insert(state.end(), {double(net.GetEpochCount()), double(net.GetTrainingStatus()),
                             net.GetMaxPatternError(), double(net.GetWorstPattern())});
  return state;
}

struct Case {
  std::string name;
  std::vector<Layer> layers;
  std::vector<Link> links;
  double inputScale = 1.0;
  bool byEpoch = false;
  double rate = 0;  // 0: the standard set-up
  double momentum = -1;
  double tolerance = 0.05;
  unsigned report = 10;
  unsigned slice = 7;
  bool shuffle = false;
};

struct TrainingRun {
  std::vector<std::vector<double>> states;
  std::vector<std::string> records;
  size_t warnings = 0;
};

template <class Net>
TrainingRun TrainInSlices(const Case& c, unsigned epochs) {
  NxFixRandomSeed(17);
  Net net(Config(c.layers, c.links));
  if (c.rate > 0) net.SetGlobalLearningRate(c.rate);
  if (c.momentum >= 0) net.SetGlobalMomentum(c.momentum);
  int inputs = net.GetInputLayer()->GetNumNodes(), outputs = net.GetOutputLayer()->GetNumNodes();
  auto rows = RandomRows(40, inputs, outputs, c.inputScale, 5);
  auto* list = new NxTrainingOutputList();
  net.SetTrainingOutputList(list, true);
  net.SetupTraining(OwnedRows(rows), 40, c.report, c.tolerance, epochs, c.byEpoch, true);
  WarningRecorder warnings;
  TrainingRun run;
  while (net.IsTraining()) {
    if (c.shuffle) net.RandomizeIOPatterns();
    net.DoSomeTraining(c.slice);
    run.states.push_back(StateOf(net));
  }
  for (unsigned i = 0; i < list->GetNumItems(); ++i) {
    const NxTrainingOutput& r = list->GetItem(i);
    run.records.push_back(std::to_string(r.Epoch) + " " + std::to_string(r.MaxError) + " " +
                          std::to_string(r.RmsError) + " " + std::to_string(r.WorstPattern));
  }
  run.warnings = WarningRecorder::Shown().size();
  // The network answers the same afterwards, through the nodes.
  std::vector<double> probe(inputs, 0.5);
  const double* answer = net.Propagate(probe.data());
  run.states.emplace_back(answer, answer + outputs);
  return run;
}

const std::vector<Link> kChain = {{0, 2}, {2, 1}};

std::vector<Case> Cases() {
  return {
      {"exclusive-or size, short rows", {{0, 2, SIGMOID}, {1, 1, SIGMOID}, {2, 4, SIGMOID}}, kChain},
      {"wide rows in blocks", {{0, 20, SIGMOID}, {1, 5, SIGMOID}, {2, 24, SIGMOID}}, kChain, 1.0, false, 0, -1, 0.0,
       3, 13},
      {"two hidden layers", {{0, 12, SIGMOID}, {1, 3, SIGMOID}, {2, 16, SIGMOID}, {3, 9, SIGMOID}},
       {{0, 2}, {2, 3}, {3, 1}}, 1.0, false, 0, -1, 0.0, 1, 50},
      {"by epoch", {{0, 12, SIGMOID}, {1, 3, SIGMOID}, {2, 16, SIGMOID}, {3, 9, SIGMOID}}, {{0, 2}, {2, 3}, {3, 1}},
       1.0, true, 0, -1, 0.0, 4, 33},
      {"linear and peaked nodes", {{0, 16, SIGMOID}, {1, 4, LINEAR}, {2, 15, PEAKED}}, kChain, 1.0, false, 0.3,
       0.5, 0.0, 5, 40, true},
      {"diverging, held at the limits", {{0, 15, SIGMOID}, {1, 4, LINEAR}, {2, 16, LINEAR}}, kChain, 3000.0, false,
       10.0, 1.0, 0.0, 2, 41},
      {"diverging from inputs in (-1, 1]", {{0, 15, SIGMOID}, {1, 4, SIGMOID}, {2, 16, SIGMOID}}, kChain, 1.0, false,
       10.0, 1.0, 0.0, 2, 41},
      {"diverging by epoch", {{0, 15, SIGMOID}, {1, 4, LINEAR}, {2, 16, LINEAR}}, kChain, 3000.0, true, 10.0, 1.0,
       0.0, 2, 41},
      {"binary outputs far past their threshold, where the slope is 0",
       {{0, 15, SIGMOID}, {1, 4, BINARY}, {2, 16, SIGMOID}}, kChain, 3000.0, false, 10.0, 1.0, 0.0, 1, 9},
      {"binary outputs, often exactly right", {{0, 10, SIGMOID}, {1, 4, BINARY}, {2, 16, SIGMOID}}, kChain, 1.0,
       false, 0, -1, 0.0, 3, 11},
      {"binary hidden nodes", {{0, 10, SIGMOID}, {1, 4, SIGMOID}, {2, 16, BINARY}, {3, 8, BINARY}},
       {{0, 2}, {2, 3}, {3, 1}}, 1.0, false, 0, -1, 0.0, 3, 11},
      {"inputs also feed the outputs", {{0, 8, SIGMOID}, {1, 2, SIGMOID}, {2, 8, SIGMOID}}, {{0, 2}, {2, 1}, {0, 1}}},
      {"no hidden layer", {{0, 9, SIGMOID}, {1, 2, SIGMOID}}, {{0, 1}}, 1.0, false, 0, -1, 0.0, 10, 40},
  };
}

TEST(FlatTraining, EveryNodeEndsAsTrainingNodeByNodeLeavesIt) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    TrainingRun flat = TrainInSlices<NxNeuralNet>(c, 30);
    TrainingRun nodes = TrainInSlices<NodeByNodeNet>(c, 30);
    ASSERT_EQ(flat.states.size(), nodes.states.size());
    for (size_t s = 0; s < flat.states.size(); ++s) ASSERT_EQ(flat.states[s], nodes.states[s]) << "after slice " << s;
    EXPECT_EQ(flat.records, nodes.records);
    EXPECT_EQ(flat.warnings, nodes.warnings);
  }
}

TEST(FlatTraining, DivergingRunsAreHeldAndWarnedAboutOnce) {
  Case c = Cases()[5];
  TrainingRun flat = TrainInSlices<NxNeuralNet>(c, 30);
  // One warning per training call at most; the run has many calls.
  EXPECT_GE(flat.warnings, 1u);
  EXPECT_LT(flat.warnings, flat.states.size());
}

template <class Net>
std::vector<double> TrainToEnd(const Case& c, bool byEpoch) {
  NxFixRandomSeed(23);
  Net net(Config(c.layers, c.links));
  int inputs = net.GetInputLayer()->GetNumNodes(), outputs = net.GetOutputLayer()->GetNumNodes();
  auto rows = RandomRows(25, inputs, outputs, c.inputScale, 9);
  net.SetOutputTolerance(0.2);
  WarningRecorder quiet;
  unsigned epochs = net.Train(OwnedRows(rows), 25, 3, 60, byEpoch, true);
  std::vector<double> state = StateOf(net);
  state.push_back(epochs);
  return state;
}

TEST(FlatTraining, TrainingInOneCallMatchesNodeByNode) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    for (bool byEpoch : {false, true})
      EXPECT_EQ(TrainToEnd<NxNeuralNet>(c, byEpoch), TrainToEnd<NodeByNodeNet>(c, byEpoch)) << byEpoch;
  }
}

}  // namespace

