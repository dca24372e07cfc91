#include <gtest/gtest.h>

#include "net_fixture.h"

namespace {

// One input feeding one output node of the given type through weight w and
// bias b: the output node's net input is w * input + b.
struct SingleNode {
  explicit SingleNode(NODETYPE type) : net(CreateTempDiffNet(TwoLayerConfig({1, 1}, {1, 1}, type), 0.7)) {}
  FP12_20 OutputFor(double netInput) {
    node()->SetWeight(0, FP_ONE);
    node()->SetWeight(1, 0);
    double input = netInput;
    AsTD(net)->GetOutput(&input, false, false);
    return node()->GetOutputValue();
  }
  NxNode* node() { return net->GetLayer(1)->GetNodeAt(0); }
  NetPtr net;
};

}  // namespace

TEST(Transfer, SigmoidIsHalfAtZeroAndSaturatesSymmetrically) {
  SingleNode sigmoid(SIGMOID);
  EXPECT_EQ(sigmoid.OutputFor(0.0), 0x80000);
  FP12_20 top = sigmoid.OutputFor(10.0);  // the end of the table
  EXPECT_EQ(top, ToFixed(1.0 / (1.0 + std::exp(-10.0))));
  EXPECT_EQ(sigmoid.OutputFor(1000.0), top);
  EXPECT_EQ(sigmoid.OutputFor(-1000.0), FP_ONE - top);
  EXPECT_EQ(sigmoid.OutputFor(-2.0), FP_ONE - sigmoid.OutputFor(2.0));
  EXPECT_NEAR(ToDouble(sigmoid.OutputFor(0.3)), 1.0 / (1.0 + std::exp(-0.3)), 1e-4);
}

TEST(Transfer, PeakedIsOneAtZeroAndEven) {
  SingleNode peaked(PEAKED);
  EXPECT_EQ(peaked.OutputFor(0.0), FP_ONE);
  EXPECT_EQ(peaked.OutputFor(0.7), peaked.OutputFor(-0.7));
  EXPECT_NEAR(ToDouble(peaked.OutputFor(1.0)), std::exp(-M_PI / 4), 1e-4);
}

TEST(Transfer, LinearPassesTheNetInput) {
  SingleNode linear(LINEAR);
  EXPECT_EQ(linear.OutputFor(-3.25), ToFixed(-3.25));
}

TEST(Transfer, LogicNodesThresholdTheMeanOfBinarySources) {
  // Three inputs, each through its own BINARY node (weight 1, bias -0.5),
  // into one MAJORITY or AND or OR output.
  for (NODETYPE type : {MAJORITY, AND, OR}) {
    NxNeuralBase::ConfigData config;
    config.AddLayer(0, {3, 1}, SIGMOID);
    config.AddLayer(2, {3, 1}, BINARY);
    config.AddLayer(1, {1, 1}, type);
    config.AddMapping(0, 2, {1, 1}, {1, 0}, {0, 0}, 0);
    config.AddMapping(2, 1, {3, 1}, {0, 0}, {0, 0}, 0);
    NetPtr net(CreateTempDiffNet(config, 0.7));
    for (unsigned n = 0; n < 3; ++n) {
      net->GetLayer(2)->GetNodeAt(n)->SetWeight(0, FP_ONE);
      net->GetLayer(2)->GetNodeAt(n)->SetWeight(1, -FP_HALF);
    }
    NxNode* out = net->GetLayer(1)->GetNodeAt(0);
    double twoOfThree[] = {1, 1, 0};
    double oneOfThree[] = {1, 0, 0};
    double all[] = {1, 1, 1};
    double none[] = {0, 0, 0};
    double expectTwo = type == AND ? 0.0 : 1.0;
    EXPECT_EQ(AsTD(net)->GetOutput(twoOfThree, false, false)[0], expectTwo) << type;
    EXPECT_EQ(out->GetNetValue(), 699050);
    EXPECT_EQ(AsTD(net)->GetOutput(oneOfThree, false, false)[0], type == OR ? 1.0 : 0.0) << type;
    EXPECT_EQ(AsTD(net)->GetOutput(all, false, false)[0], 1.0) << type;
    EXPECT_EQ(AsTD(net)->GetOutput(none, false, false)[0], 0.0) << type;
  }
}

TEST(LazyForward, OnlyStaleNodesAreRecomputed) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {2, 1}, SIGMOID);
  config.AddLayer(2, {2, 1}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(0, 2, {1, 1}, {1, 0}, {0, 0}, 0);
  config.AddMapping(2, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  NetPtr net(CreateTempDiffNet(config, 0.7));
  NxNode* left = net->GetLayer(2)->GetNodeAt(0);
  NxNode* right = net->GetLayer(2)->GetNodeAt(1);
  // Unit weights keep every node away from saturation.
  for (NxNode* node : {left, right}) {
    node->SetWeight(0, FP_ONE);
    node->SetWeight(1, 0);
  }
  double inputs[] = {0.25, 0.75};
  double first = AsTD(net)->GetOutput(inputs, false, false)[0];
  EXPECT_FALSE(left->IsNewInput());
  EXPECT_EQ(AsTD(net)->GetOutput(inputs, false, false)[0], first);

  // Changing one input marks only its own path stale.
  inputs[1] = 0.5;
  static_cast<NxTempDiffInputLayer*>(net->GetLayer(0))->SetInputValues(inputs);
  EXPECT_FALSE(left->IsNewInput());
  EXPECT_TRUE(right->IsNewInput());
  double second = AsTD(net)->GetOutput(inputs, false, false)[0];
  EXPECT_NE(second, first);

  // A weight change upstream is seen even when the inputs stay the same.
  left->SetWeight(0, left->GetWeight(0) + FP_ONE);
  EXPECT_NE(AsTD(net)->GetOutput(inputs, false, false)[0], second);

  // A fresh network with the same weights computes the same values.
  NetPtr copy(CreateTempDiffNet(config, 0.7));
  for (unsigned layer : {1u, 2u})
    for (unsigned n = 0; n < net->GetLayer(layer)->GetNumNodes(); ++n)
      for (unsigned w = 0; w < net->GetLayer(layer)->GetNodeAt(n)->GetNumWeights(); ++w)
        copy->GetLayer(layer)->GetNodeAt(n)->SetWeight(w, net->GetLayer(layer)->GetNodeAt(n)->GetWeight(w));
  EXPECT_EQ(AsTD(copy)->GetOutput(inputs, false, false)[0], AsTD(net)->GetOutput(inputs, false, false)[0]);
}

TEST(NodeSettings, MomentumNoiseAndPersistenceAreClamped) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({1, 1}, {1, 1}), 0.7));
  auto* node = static_cast<NxTDNode*>(net->GetLayer(1)->GetNodeAt(0));
  node->SetMomentum(1.5);
  EXPECT_EQ(node->GetMomentumFP(), FP_ONE);
  node->SetNoiseLevel(-1);
  EXPECT_EQ(node->GetNoiseFP(), 0);
  node->SetTrainingPersistence(1.5);
  EXPECT_EQ(node->GetPersistence(), 1.0);
  node->SetTrainingPersistence(-0.5);
  EXPECT_EQ(node->GetPersistence(), 0.0);
  node->SetTrainByEpoch(true);
  EXPECT_FALSE(node->IsTrainByEpoch());
}

TEST(InitialWeights, FixedSeedReproducesNetworksAndRangesHold) {
  NxFixRandomSeed(1234);
  NetPtr a(CreateTempDiffNet(TwoLayerConfig({4, 1}, {1, 1}), 0.7));
  NxFixRandomSeed(1234);
  NetPtr b(CreateTempDiffNet(TwoLayerConfig({4, 1}, {1, 1}), 0.7));
  EXPECT_EQ(AllWeights(*a), AllWeights(*b));
  for (FP12_20 w : AllWeights(*a)) EXPECT_LE(std::abs(w), ToFixed(10.0 / 4));
  a->CustomizeInitialWeights(1, 0.01);
  for (FP12_20 w : AllWeights(*a)) EXPECT_LE(std::abs(w), ToFixed(0.01));
}

TEST(Transfer, LogicNodeWithoutSourcesOutputsZero) {
  // A field placed entirely outside the source layer, allowed by skipping
  // the geometry check, leaves the OR node with no source at all.
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {2, 1}, SIGMOID);
  config.AddLayer(2, {1, 1}, BINARY);
  config.AddLayer(3, {1, 1}, OR);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(0, 2, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(2, 3, {1, 1}, {0, 0}, {5, 0}, 1);
  config.AddMapping(3, 1, {1, 1}, {0, 0}, {0, 0}, 0);
  NetPtr net(CreateTempDiffNet(config, 0.7));
  NxNode* orNode = net->GetLayer(3)->GetNodeAt(0);
  ASSERT_EQ(orNode->GetNumSources(), 0u);
  double inputs[] = {1.0, 1.0};
  AsTD(net)->GetOutput(inputs, true, true);
  EXPECT_EQ(orNode->GetNewOutput(), 0);
  double outcome = 1.0;
  AsTD(net)->TrainOnOutcomes(&outcome);  // trains without dividing by zero
  EXPECT_EQ(orNode->GetOutputValue(), 0);
}
