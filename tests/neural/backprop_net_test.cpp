#include <gtest/gtest.h>

#include "backprop_helpers.h"
#include "neural/exceptions.h"

TEST(BackPropNet, FactoryBuildsTheLayersOfAConfiguration) {
  NxNeuralBase* base = CreateBackPropNet(LayeredConfig(3, 4, 2));
  auto* net = dynamic_cast<NxNeuralNet*>(base);
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(net->GetNumInputs(), 3u);
  EXPECT_EQ(net->GetNumOutputs(), 2u);
  EXPECT_EQ(net->GetInputLayer(), net->GetLayer(0));
  EXPECT_EQ(net->GetOutputLayer(), net->GetLayer(1));
  EXPECT_NE(dynamic_cast<NxBackPropLayer*>(net->GetLayer(2)), nullptr);
  EXPECT_EQ(net->GetLayer(1)->GetNodeAt(0)->GetNumSources(), 4u);
  EXPECT_DOUBLE_EQ(net->GetOutputTolerance(), 0.00001);
  EXPECT_DOUBLE_EQ(net->GetOutputLayer()->GetOutputTolerance(), 0.00001);
  EXPECT_EQ(net->GetReportInterval(), 10u);
  EXPECT_EQ(net->GetTrainingStatus(), 0u);
  DeleteNet(base);
}

TEST(BackPropNet, ConfigurationProblemsUseTheBackPropagationWording) {
  WarningRecorder recorder;
  NxNeuralBase::ConfigData config = LayeredConfig(2, 0, 1);
  TSize none{0, 0};
  config.AddMapping(1, 0, TSize{1, 1}, none, none, 0);
  NxNeuralNet net(config);
  ASSERT_FALSE(WarningRecorder::Shown().empty());
  EXPECT_EQ(WarningRecorder::Shown()[0].title, "Neural Network Warning");
  EXPECT_EQ(WarningRecorder::Shown()[0].text,
            "LAYER 1 has Input LAYER 0 as a target.\n\t\t\t\t\nConnection will be ignored.");

  NxNeuralBase::ConfigData noOutput;
  noOutput.AddLayer(0, TSize{2, 1}, SIGMOID);
  try {
    DeleteNet(CreateBackPropNet(noOutput));
    FAIL() << "a network without layer 1 was built";
  } catch (const XCNoOutputLayer& error) {
    EXPECT_STREQ(error.what(), "Network is missing output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  }
}

TEST(BackPropNet, RefusesNetworksBeyondTheConnectionLimit) {
  EXPECT_THROW(NxNeuralNet(LayeredConfig(4096, 0, 4096)), XCNetworkTooLarge);
}

TEST(BackPropNet, PropagateRecomputesOnlyForNewInput) {
  NxNeuralNet net(LayeredConfig(2, 2, 1));
  double a[] = {0.0, 1.0};
  double b[] = {1.0, 1.0};
  double first = net.Propagate(a)[0];
  double second = net.Propagate(b)[0];
  EXPECT_NE(first, second);
  EXPECT_DOUBLE_EQ(net.Propagate(a)[0], first);
  net.GetLayer(1)->GetNodeAt(0)->SetWeight(2, FP_ONE * 3);
  EXPECT_NE(net.Propagate(a)[0], first);  // new weights show at the next input
}

TEST(TrainingOutputList, RecordsAndUpdatedFlag) {
  NxTrainingOutputList list;
  EXPECT_FALSE(list.IsUpdated());
  list.Add(10, 0.5, 0.25, 0.3, 3);
  EXPECT_TRUE(list.IsUpdated());
  NxTrainingOutput record = list.GetItem(0);
  EXPECT_EQ(record.Epoch, 10u);
  EXPECT_EQ(record.WorstPattern, 3u);
  EXPECT_DOUBLE_EQ(record.RmsError, 0.3);
  list.SetUpdated(false);
  list.Clear();
  EXPECT_EQ(list.GetNumItems(), 0u);
  EXPECT_DEATH(list.GetItem(0), "listPosition < List.GetNumItems\\(\\)");
}
