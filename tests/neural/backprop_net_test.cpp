#include <gtest/gtest.h>

#include <string>

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

// Fully connected inputs tell their targets of a new pattern together,
// windowed ones each their own; either way exactly the nodes fed by a
// changed input go stale, and the sums come out as a full recomputation's.
TEST(BackPropNet, ANewInputValueMarksExactlyTheNodesItFeeds) {
  auto stale = [](NxNeuralNet& net) {
    std::string flags;
    for (unsigned layer : {2u, 1u})
      for (unsigned k = 0; k < net.GetLayer(layer)->GetNumNodes(); ++k)
        flags += net.GetLayer(layer)->GetNodeAt(k)->IsNewInput() ? '1' : '0';
    return flags;
  };
  NxNeuralNet dense(LayeredConfig(3, 2, 1));
  NxNeuralBase::ConfigData windowed;
  windowed.AddLayer(0, TSize{3, 1}, SIGMOID);
  windowed.AddLayer(1, TSize{1, 1}, SIGMOID);
  windowed.AddLayer(2, TSize{2, 1}, SIGMOID);
  windowed.AddMapping(0, 2, TSize{2, 1}, TSize{1, 0}, TSize{0, 0}, 0);  // hidden k sees inputs k and k + 1
  windowed.AddMapping(2, 1, TSize{2, 1}, TSize{0, 0}, TSize{0, 0}, 0);
  NxNeuralNet window(windowed);
  double first[] = {0.1, 0.2, 0.3};
  double second[] = {0.7, 0.2, 0.3};
  for (NxNeuralNet* net : {&dense, &window}) {
    net->SetInputValues(first);
    EXPECT_EQ(stale(*net), "111");
    net->GetOutputLayer()->GetOutput();
    EXPECT_EQ(stale(*net), "000");
    net->SetInputValues(first);
    EXPECT_EQ(stale(*net), "000");
    net->SetInputValues(second);
  }
  EXPECT_EQ(stale(dense), "111");
  EXPECT_EQ(stale(window), "101");
  for (NxNeuralNet* net : {&dense, &window}) {
    double out = net->GetOutputLayer()->GetOutput()[0];
    NxNode* hidden = net->GetLayer(2)->GetNodeAt(0);
    int64_t sum = hidden->GetWeight(hidden->GetNumSources());
    for (unsigned i = 0; i < hidden->GetNumSources(); ++i)
      sum += FpMul(hidden->GetWeight(i), hidden->GetSource(i)->GetOutputValue());
    EXPECT_EQ(hidden->GetNetValue(), sum);
    net->GetLayer(1)->GetNodeAt(0)->SetWeight(0, net->GetLayer(1)->GetNodeAt(0)->GetWeight(0));
    EXPECT_EQ(net->Propagate(second)[0], out);  // a full recomputation agrees
  }
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
