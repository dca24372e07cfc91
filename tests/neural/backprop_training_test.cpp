#include <gtest/gtest.h>

#include <algorithm>

#include "backprop_helpers.h"
#include "neural/seed.h"

namespace {

NxNode* NodeOf(NxNeuralNet& net, unsigned layer, unsigned index = 0) {
  return net.GetLayer(layer)->GetNodeAt(index);
}

std::vector<FP12_20> WeightsOf(NxNode* node) {
  std::vector<FP12_20> weights;
  for (unsigned i = 0; i < node->GetNumWeights(); ++i) weights.push_back(node->GetWeight(i));
  return weights;
}

}  // namespace

TEST(BackPropTraining, StopsAtEpochLimitWithRecordsEveryReportInterval) {
  NxFixRandomSeed(7);
  NxNeuralNet net(LayeredConfig(2, 3, 1));
  auto* list = new NxTrainingOutputList();
  net.SetTrainingOutputList(list, true);
  // A tolerance of 0 can never be met, so only the limit ends training.
  net.SetupTraining(OwnedRows(XorRows()), 4, 10, 0.0, 25, false, true);
  EXPECT_TRUE(net.IsTraining());
  EXPECT_EQ(net.GetTrainingStatus(), 1u);
  for (int call = 0; call < 1000 && net.IsTraining(); ++call) net.DoSomeTraining(3);
  EXPECT_FALSE(net.IsTraining());
  EXPECT_EQ(net.GetTrainingStatus(), 0u);
  EXPECT_EQ(net.GetEpochCount(), 25u);
  ASSERT_EQ(list->GetNumItems(), 2u);
  EXPECT_EQ(+list->GetItem(0).Epoch, 10u);
  EXPECT_EQ(+list->GetItem(1).Epoch, 20u);
  EXPECT_GT(+list->GetItem(0).MaxError, 0.0);
  EXPECT_LE(+list->GetItem(0).MeanAbsError, +list->GetItem(0).MaxError);
  EXPECT_LT(+list->GetItem(0).WorstPattern, 4u);
}

TEST(BackPropTraining, PatternsAlreadyWithinToleranceConvergeInOneEpochWithoutChange) {
  NxFixRandomSeed(3);
  NxNeuralNet net(LayeredConfig(2, 2, 1));
  std::vector<std::vector<double>> rows = {{0, 1, 0}, {1, 0, 0}};
  for (auto& row : rows) row[2] = net.Propagate(row.data())[0];
  std::vector<FP12_20> before = WeightsOf(NodeOf(net, 1));
  net.SetupTraining(OwnedRows(rows), 2, 10, 0.001, 100, false, true);
  net.DoSomeTraining(100);
  EXPECT_EQ(net.GetTrainingStatus(), 2u);
  EXPECT_EQ(net.GetEpochCount(), 1u);
  EXPECT_FALSE(net.IsTraining());
  EXPECT_EQ(WeightsOf(NodeOf(net, 1)), before);
}

TEST(BackPropTraining, DoSomeTrainingPresentsAtMostCountPatternsAndResumesMidEpoch) {
  NxNeuralNet net(LayeredConfig(2, 3, 1));
  net.SetupTraining(OwnedRows(XorRows()), 4, 10, 0.0, 100, false, true);
  for (int call = 0; call < 3; ++call) {
    net.DoSomeTraining(1);
    EXPECT_EQ(net.GetEpochCount(), 0u);
  }
  net.DoSomeTraining(1);
  EXPECT_EQ(net.GetEpochCount(), 1u);
  net.DoSomeTraining(8);
  EXPECT_EQ(net.GetEpochCount(), 3u);
}

TEST(BackPropTraining, AnEmptyPatternSetFinishesAtOnceWithNothingToTrain) {
  NxNeuralNet net(LayeredConfig(2, 0, 1));
  net.SetupTraining(nullptr, 4, 10, 0.1, 100, false, false);
  EXPECT_FALSE(net.IsTraining());
  EXPECT_EQ(net.GetTrainingStatus(), 2u);
  net.DoSomeTraining(10);
  EXPECT_EQ(net.GetEpochCount(), 0u);
  // Rows but a count of 0 would spin without presenting anything.
  double** rows = OwnedRows(XorRows());
  net.SetupTraining(rows, 0, 10, 0.1, 100, false, false);
  EXPECT_FALSE(net.IsTraining());
  EXPECT_EQ(net.GetTrainingStatus(), 2u);
  net.SetupTraining(rows, 4, 10, 0.1, 100, false, false);
  EXPECT_EQ(net.GetTrainingStatus(), 1u);
  EXPECT_EQ(net.Train(rows, 0, 10, 100, false, false), 0u);
  EXPECT_EQ(net.GetTrainingStatus(), 2u);
  for (int i = 0; i < 4; ++i) delete[] rows[i];
  delete[] rows;
}

TEST(BackPropTraining, PatternModeChangesWeightsAtOnceEpochModeAtTheEndOfTheEpoch) {
  for (bool byEpoch : {false, true}) {
    NxFixRandomSeed(11);
    NxNeuralNet net(LayeredConfig(2, 0, 1));
    NxNode* output = NodeOf(net, 1);
    std::vector<FP12_20> before = WeightsOf(output);
    net.SetupTraining(OwnedRows({{1, 1, 1}, {0, 1, 0}}), 2, 10, 0.0, 100, byEpoch, true);
    EXPECT_EQ(output->IsTrainByEpoch(), byEpoch);
    net.DoSomeTraining(1);
    EXPECT_EQ(WeightsOf(output) != before, !byEpoch) << "byEpoch " << byEpoch;
    if (byEpoch) {
      EXPECT_NE(output->GetWeightAccum(2), 0);
    }
    net.DoSomeTraining(1);
    EXPECT_NE(WeightsOf(output), before);
    if (byEpoch) {
      EXPECT_EQ(output->GetWeightAccum(2), 0);
    }
  }
}

TEST(BackPropTraining, EpochModeMomentumDropsToOneTenthAtTheFirstRateScaling) {
  for (bool byEpoch : {false, true}) {
    NxNeuralNet net(LayeredConfig(2, 3, 1));
    NxNode* output = NodeOf(net, 1);
    FP12_20 standard = output->GetMomentumFP();
    net.SetupTraining(OwnedRows(XorRows()), 4, 10, 0.0, 100, byEpoch, true);
    net.DoSomeTraining(4 * 9);
    EXPECT_EQ(output->GetMomentumFP(), standard);
    net.DoSomeTraining(4);
    EXPECT_EQ(output->GetMomentumFP(), byEpoch ? 0x19999 : standard);
  }
}

TEST(BackPropTraining, ShufflingPermutesInPatternModeOnly) {
  NxNeuralNet net(LayeredConfig(2, 0, 1));
  std::vector<std::vector<double>> rows(50, std::vector<double>{0, 0, 0});
  net.SetupTraining(OwnedRows(rows), 50, 10, 0.1, 100, true, true);
  net.RandomizeIOPatterns();
  for (unsigned i = 0; i < 50; ++i) EXPECT_EQ(net.GetPatternOrder(i), i);
  net.SetTrainByEpoch(false);
  net.RandomizeIOPatterns();
  std::vector<unsigned> order;
  for (unsigned i = 0; i < 50; ++i) order.push_back(net.GetPatternOrder(i));
  std::vector<unsigned> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (unsigned i = 0; i < 50; ++i) EXPECT_EQ(sorted[i], i);
  EXPECT_FALSE(std::is_sorted(order.begin(), order.end()));
}

TEST(BackPropTraining, SameRowsWithAnotherCountWarnsAndUsesTheNewCount) {
  WarningRecorder recorder;
  NxNeuralNet net(LayeredConfig(2, 0, 1));
  double** rows = OwnedRows(XorRows());
  net.SetIOPatterns(rows, 4, true);
  EXPECT_TRUE(WarningRecorder::Shown().empty());
  net.SetIOPatterns(rows, 2, true);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_EQ(WarningRecorder::Shown()[0].title, "WARNING: Potential Memory Error");
  EXPECT_EQ(WarningRecorder::Shown()[0].text,
            "New IOPatterns use same memory address as previous IOPatterns, but number of patterns is different.");
  EXPECT_EQ(net.GetNumPatterns(), 2u);
  net.SetIOPatterns(rows, 4, true);  // the net frees all four rows
}

TEST(BackPropTraining, CompleteTrainingLearnsXorFromAFixedSeed) {
  NxFixRandomSeed(1234);
  NxNeuralNet net(LayeredConfig(2, 3, 1));
  net.SetOutputTolerance(0.1);
  unsigned epochs = net.Train(OwnedRows(XorRows()), 4, 10, 5000, false, true);
  EXPECT_EQ(net.GetTrainingStatus(), 2u);
  EXPECT_LT(epochs, 5000u);
  for (const auto& row : XorRows()) {
    std::vector<double> inputs = row;
    EXPECT_NEAR(net.Propagate(inputs.data())[0], row[2], 0.1);
  }
}

TEST(BackPropTraining, CompleteTrainingReportsTheLimit) {
  NxNeuralNet net(LayeredConfig(2, 3, 1));
  EXPECT_EQ(net.Train(OwnedRows(XorRows()), 4, 10, 7, true, true), 7u);
  EXPECT_EQ(net.GetTrainingStatus(), 0u);
  EXPECT_EQ(net.Train(nullptr, 0, 10, 7, false, false), 0u);
  EXPECT_EQ(net.GetTrainingStatus(), 2u);  // nothing to train
}

TEST(BackPropTraining, WeightsAndNetInputsHoldAtTheFixedPointLimitsAndTheRunSaysSoOnce) {
  WarningRecorder recorder;
  NxNeuralNet net(LayeredConfig(1, 0, 1, LINEAR));
  net.SetGlobalLearningRate(1.0);
  NxNode* out = net.GetLayer(1)->GetNodeAt(0);
  out->SetWeight(0, ToFixed(2000.0));
  out->SetWeight(1, ToFixed(2000.0));
  double one = 1.0;
  EXPECT_GT(net.Propagate(&one)[0], 2047.99);  // 4000 held at the limit, not wrapped round to -96
  // Each presentation pushes the first weight further up than it can go.
  out->SetWeight(0, ToFixed(2047.99));
  out->SetWeight(1, ToFixed(-1000.0));
  net.Train(OwnedRows({{1.0, 2000.0}}), 1, 10, 3, false, true);
  EXPECT_EQ(out->GetWeight(0), INT32_MAX);
  EXPECT_GT(out->GetWeight(1), ToFixed(-1000.0));
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_NE(WarningRecorder::Shown()[0].text.find("held at its limits"), std::string::npos);
}

// A connection whose product leaves the range holds at the limit of its
// sign, and the net input sums the held products exactly.
TEST(BackPropTraining, ConnectionProductsHoldAtTheLimitOfTheirSign) {
  NxNeuralNet net(LayeredConfig(2, 0, 1, LINEAR));
  NxNode* out = net.GetLayer(1)->GetNodeAt(0);
  out->SetWeight(0, ToFixed(2000.0));
  out->SetWeight(1, ToFixed(-2000.0));
  out->SetWeight(2, 0);
  double up[] = {1000.0, 0.5};
  EXPECT_EQ(out->GetNetValue(), 0);
  net.Propagate(up);
  EXPECT_EQ(out->GetNetValue(), INT32_MAX - ToFixed(1000.0));
  double down[] = {-1000.0, 0.5};
  net.Propagate(down);
  EXPECT_EQ(out->GetNetValue(), INT32_MIN);
  double small[] = {0.25, 0.5};
  net.Propagate(small);
  EXPECT_EQ(out->GetNetValue(), ToFixed(500.0) - ToFixed(1000.0));
}
