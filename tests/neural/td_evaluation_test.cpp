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

// Wide rows: eighteen hidden nodes side by side feed every node of the next
// layer, so errors go back to them as whole rows, eight at a time.
NxNeuralBase::ConfigData WideConfig() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {10, 2}, SIGMOID);
  config.AddLayer(2, {9, 2}, SIGMOID);
  config.AddMapping(0, 2, {2, 1}, {1, 1}, {0, 0}, 0);
  config.AddLayer(3, {4, 1}, SIGMOID);
  config.AddMapping(2, 3, {9, 2}, {0, 0}, {0, 0}, 0);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(3, 1, {4, 1}, {0, 0}, {0, 0}, 0);
  return config;
}

// Some zero weights, whose products stay 0 whatever their inputs do.
NetPtr MakeWide(unsigned seed) {
  NxFixRandomSeed(seed);
  NetPtr net(CreateTempDiffNet(WideConfig(), 0.7));
  net->SetupStandardLearning(0.625);
  AsTD(net)->SetAutoRates(true, 3);
  for (unsigned n = 0; n < 18; n += 3) net->GetLayer(2)->GetNodeAt(n)->SetWeight(1, 0);
  net->GetLayer(3)->GetNodeAt(2)->SetWeight(7, 0);
  return net;
}

// Wide fans: every input feeds ten nodes and each of four hidden nodes
// feeds the same ten, so a new value is passed on in rows; the hidden
// nodes gather eight inputs from four rows, the ten nodes thirty-six
// scattered sources, and the output sums ten side by side.
NxNeuralBase::ConfigData FanConfig() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {8, 4}, SIGMOID);
  config.AddLayer(2, {4, 1}, SIGMOID);
  config.AddMapping(0, 2, {2, 4}, {2, 0}, {0, 0}, 0);
  config.AddLayer(3, {10, 1}, SIGMOID);
  config.AddMapping(2, 3, {4, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(0, 3, {8, 4}, {0, 0}, {0, 0}, 0);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(3, 1, {10, 1}, {0, 0}, {0, 0}, 0);
  return config;
}

NetPtr MakeFan(unsigned seed) {
  NxFixRandomSeed(seed);
  NetPtr net(CreateTempDiffNet(FanConfig(), 0.7));
  net->SetupStandardLearning(0.625);
  AsTD(net)->SetAutoRates(true, 3);
  return net;
}

// Broad: two hundred hidden nodes, each fed by all sixteen inputs, so a
// new input makes nodes stale across more than two words of flags.
NxNeuralBase::ConfigData BroadConfig() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {16, 1}, SIGMOID);
  config.AddLayer(2, {200, 1}, SIGMOID);
  config.AddMapping(0, 2, {16, 1}, {0, 0}, {0, 0}, 0);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(2, 1, {200, 1}, {0, 0}, {0, 0}, 0);
  return config;
}

NetPtr MakeBroad(unsigned seed) {
  NxFixRandomSeed(seed);
  NetPtr net(CreateTempDiffNet(BroadConfig(), 0.7));
  net->SetupStandardLearning(0.625);
  return net;
}

// Input values from -1 to 2 in hundredths, or with `unitRange` only those
// in (-1, 1], whose products never saturate.
double DrawInput(NxRandomGenerator& random, bool unitRange) {
  return unitRange ? (random.rand() % 200 - 99) / 100.0 : (random.rand() % 300 - 100) / 100.0;
}

// Drives two twins of a network through a long run of predictions,
// observations and outcomes, one through the network's own one-pass
// evaluation, the other through the layers' lazy route; both must agree on
// every output, every node's state and every weight.
template <class Make>
void ExpectBothRoutesAgree(Make make, unsigned seed, unsigned numInputs, bool unitRange = false) {
  NetPtr fast = make(seed);
  NetPtr lazy = make(seed);
  ASSERT_EQ(AllWeights(*fast), AllWeights(*lazy));
  NxRandomGenerator random;
  std::vector<double> inputs(numInputs, 0.0);
  for (int step = 0; step < 600; ++step) {
    int changes = step % 9 == 0 ? static_cast<int>(numInputs) : 1 + random.rand() % 2;
    for (int c = 0; c < changes; ++c) inputs[random.rand() % numInputs] = DrawInput(random, unitRange);
    bool train = step % 3 != 0;
    bool newSequence = step % 20 == 0;
    double a = AsTD(fast)->GetOutput(inputs.data(), train, newSequence)[0];
    double b = LayerRoute(lazy, inputs.data(), train, newSequence);
    ASSERT_EQ(a, b) << step;
    ASSERT_EQ(States(*fast), States(*lazy)) << step;
    if (step % 20 == 19) {
      double outcome = (step / 20) % 2 ? 0.9 : 0.1;
      AsTD(fast)->TrainOnOutcomes(&outcome);
      AsTD(lazy)->TrainOnOutcomes(&outcome);
      ASSERT_EQ(AllWeights(*fast), AllWeights(*lazy)) << step;
    }
  }
  EXPECT_NE(AllWeights(*fast), AllWeights(*make(seed)));  // it did learn
}

}  // namespace

// The network evaluates in one pass over the nodes that depend on changed
// inputs; the layers' route recomputes lazily.
TEST(TDEvaluation, OnePassAgreesWithTheLayerRouteThroughLearning) {
  ExpectBothRoutesAgree(MakeMixed, 5, 8);
  ExpectBothRoutesAgree(MakeWide, 3, 20);
  ExpectBothRoutesAgree(MakeFan, 4, 32);
  // Values in (-1, 1]: sums and updates over whole rows.
  ExpectBothRoutesAgree(MakeWide, 8, 20, true);
  ExpectBothRoutesAgree(MakeFan, 6, 32, true);
  ExpectBothRoutesAgree(MakeBroad, 2, 16, true);
  // The unused linear nodes were told of every change; asked, they agree too.
  NetPtr fast = MakeMixed(5), lazy = MakeMixed(5);
  double inputs[8] = {0.9, 0.2, -0.2, 0.9, 0.1, 0.5, 0.9, 0.3};
  AsTD(fast)->GetOutput(inputs, true, true);
  LayerRoute(lazy, inputs, true, true);
  inputs[3] = -0.2;
  AsTD(fast)->GetOutput(inputs, false, false);
  LayerRoute(lazy, inputs, false, false);
  for (NetPtr* net : {&fast, &lazy})
    for (unsigned n = 0; n < 2; ++n) (*net)->GetLayer(6)->GetNodeAt(n)->GetNewOutput();
  EXPECT_EQ(States(*fast), States(*lazy));
}

// The nodes' own recursion learns the slow way: every error pulled from the
// targets on demand. The network's passes push errors back in one sweep, in
// rows where the sources lie side by side; weights and traces must come out
// the same.
template <class Make>
void ExpectPlanLearnsAsTheNodes(Make make, unsigned seed, unsigned numInputs) {
  NetPtr planned = make(seed);
  NetPtr recursive = make(seed);
  auto* out = static_cast<NxTDOutputNode*>(recursive->GetLayer(1)->GetNodeAt(0));
  NxRandomGenerator random;
  std::vector<double> inputs(numInputs, 0.0);
  for (int step = 0; step < 400; ++step) {
    for (int c = 0; c < 3; ++c) inputs[random.rand() % numInputs] = (random.rand() % 300 - 100) / 100.0;
    const bool newSequence = step % 10 == 0;
    AsTD(planned)->GetOutput(inputs.data(), true, newSequence);
    LayerRoute(recursive, inputs.data(), false, newSequence);
    out->ResetFlags();
    out->UpdateTemporalDifferences();
    if (step % 10 == 9) {
      double outcome = (step / 10) % 3 ? 0.9 : 0.1;
      AsTD(planned)->TrainOnOutcomes(&outcome);
      out->ResetFlags();
      out->SetOutcomeDifference(outcome);
      out->TrainOnOutcome();
      ASSERT_EQ(AllWeights(*planned), AllWeights(*recursive)) << step;
    }
  }
  EXPECT_NE(AllWeights(*planned), AllWeights(*make(seed)));
}

TEST(TDEvaluation, PlannedLearningAgreesWithTheNodesOwnRecursion) {
  ExpectPlanLearnsAsTheNodes(MakeMixed, 7, 8);
  ExpectPlanLearnsAsTheNodes(MakeWide, 11, 20);
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
