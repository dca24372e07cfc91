#include <gtest/gtest.h>

#include "net_fixture.h"
#include "neural/random.h"

namespace {

// Mixed node types: a sigmoid and a peaked hidden layer, binary nodes
// averaged by an OR node, and a linear layer that feeds nothing, so its
// nodes are outside everything the output depends on.
NxNeuralBase::ConfigData MixedConfig() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {4, 2}, SIGMOID);
  config.AddLayer(2, {3, 2}, SIGMOID);
  config.AddMapping(0, 2, {2, 1}, {1, 1}, {0, 0}, 0);
  config.AddLayer(3, {2, 1}, PEAKED);
  config.AddMapping(2, 3, {3, 2}, {0, 0}, {0, 0}, 0);
  config.AddLayer(4, {2, 1}, BINARY);
  config.AddMapping(0, 4, {2, 2}, {2, 0}, {0, 0}, 0);
  config.AddLayer(5, {1, 1}, OR);
  config.AddMapping(4, 5, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddLayer(6, {2, 1}, LINEAR);
  config.AddMapping(2, 6, {3, 2}, {0, 0}, {0, 0}, 0);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(3, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(5, 1, {1, 1}, {0, 0}, {0, 0}, 0);
  return config;
}

NetPtr MakeMixed(unsigned seed) {
  NxFixRandomSeed(seed);
  NetPtr net(CreateTempDiffNet(MixedConfig(), 0.6));
  net->SetupStandardLearning(0.3125);
  AsTD(net)->SetAutoRates(true, 3);
  return net;
}

// The route through the layers: inputs stored one by one, each telling its
// targets, and outputs recomputed on demand.
double LayerRoute(const NetPtr& net, double* inputs, bool train, bool newSequence) {
  if (newSequence) AsTD(net)->InitObservationSequence();
  static_cast<NxTempDiffInputLayer*>(net->GetLayer(0))->SetInputValues(inputs);
  return static_cast<NxTempDiffOutputLayer*>(net->GetLayer(1))->GetOutput(train)[0];
}

struct NodeState {
  FP12_20 output, net;
  bool stale;
  bool operator==(const NodeState&) const = default;
};

std::vector<NodeState> States(const NxNeuralBase& net) {
  std::vector<NodeState> states;
  for (unsigned layer = 1; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
    if (!net.GetLayer(layer)) continue;
    for (unsigned n = 0; n < net.GetLayer(layer)->GetNumNodes(); ++n) {
      const NxNode* node = net.GetLayer(layer)->GetNodeAt(n);
      states.push_back({node->GetOutputValue(), node->GetNetValue(), node->IsNewInput()});
    }
  }
  return states;
}

}  // namespace

// The network evaluates in one pass over the nodes that depend on changed
// inputs; the layers' route recomputes lazily. Through a long run of
// predictions, observations and outcomes both must agree on every output,
// every node's state (the unused linear nodes included) and every weight.
TEST(TDEvaluation, OnePassAgreesWithTheLayerRouteThroughLearning) {
  NetPtr fast = MakeMixed(5);
  NetPtr lazy = MakeMixed(5);
  ASSERT_EQ(AllWeights(*fast), AllWeights(*lazy));
  NxRandomGenerator random;
  double inputs[8] = {};
  for (int step = 0; step < 600; ++step) {
    int changes = step % 9 == 0 ? 8 : 1 + random.rand() % 2;
    for (int c = 0; c < changes; ++c) inputs[random.rand() % 8] = (random.rand() % 300 - 100) / 100.0;
    bool train = step % 3 != 0;
    bool newSequence = step % 20 == 0;
    double a = AsTD(fast)->GetOutput(inputs, train, newSequence)[0];
    double b = LayerRoute(lazy, inputs, train, newSequence);
    ASSERT_EQ(a, b) << step;
    ASSERT_EQ(States(*fast), States(*lazy)) << step;
    if (step % 20 == 19) {
      double outcome = (step / 20) % 2 ? 0.9 : 0.1;
      AsTD(fast)->TrainOnOutcomes(&outcome);
      AsTD(lazy)->TrainOnOutcomes(&outcome);
      ASSERT_EQ(AllWeights(*fast), AllWeights(*lazy)) << step;
    }
  }
  // The unused nodes were told of every change; asked, they agree too.
  for (NetPtr* net : {&fast, &lazy})
    for (unsigned n = 0; n < 2; ++n) (*net)->GetLayer(6)->GetNodeAt(n)->GetNewOutput();
  EXPECT_EQ(States(*fast), States(*lazy));
  EXPECT_NE(AllWeights(*fast), AllWeights(*MakeMixed(5)));  // it did learn
}

// Changes that bypass the network's own evaluation: an input node set
// directly, and weights set or learnt by hand, are seen by the next
// evaluation even when it is given the same input vector again.
TEST(TDEvaluation, ChangesBehindTheNetworksBackAreSeen) {
  NetPtr net = MakeMixed(9);
  NetPtr twin = MakeMixed(9);
  double inputs[8] = {0.9, 0.2, -0.2, 0.9, 0.1, 0.5, 0.9, 0.3};
  double first = AsTD(net)->GetOutput(inputs, false, false)[0];

  auto* input0 = static_cast<NxTDInputNode*>(net->GetLayer(0)->GetNodeAt(0));
  input0->SetInputValue(-1.0);
  EXPECT_EQ(AsTD(net)->GetOutput(inputs, false, false)[0], first);
  EXPECT_EQ(input0->GetOutputValue(), ToFixed(0.9));

  for (NetPtr* n : {&net, &twin}) {
    NxNode* hidden = (*n)->GetLayer(2)->GetNodeAt(1);
    hidden->SetWeight(0, hidden->GetWeight(0) + FP_ONE);
  }
  double changed = AsTD(net)->GetOutput(inputs, false, false)[0];
  EXPECT_EQ(changed, LayerRoute(twin, inputs, false, false));
  EXPECT_NE(changed, first);

  // Learning by the nodes' own recursion, outside the network's passes.
  for (NetPtr* n : {&net, &twin}) {
    AsTD(*n)->GetOutput(inputs, true, true);
    auto* out = static_cast<NxTDOutputNode*>((*n)->GetLayer(1)->GetNodeAt(0));
    out->ResetFlags();
    out->SetOutcomeDifference(1.0);
    out->TrainOnOutcome();
  }
  EXPECT_EQ(AsTD(net)->GetOutput(inputs, false, false)[0], LayerRoute(twin, inputs, false, false));
  EXPECT_EQ(States(*net), States(*twin));
}
