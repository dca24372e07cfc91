#include <gtest/gtest.h>

#include "backprop_helpers.h"

// A chain input -> hidden -> output of single sigmoid nodes with hand-set
// weights, so every error term can be worked out by hand.
class BackPropErrorTerms : public ::testing::Test {
 protected:
  BackPropErrorTerms() : net(LayeredConfig(1, 1, 1)) {
    hidden = net.GetLayer(2)->GetNodeAt(0);
    output = net.GetLayer(1)->GetNodeAt(0);
    hidden->SetWeight(0, 0);
    hidden->SetWeight(1, 0);  // hidden output: sigmoid(0) = 0.5
    output->SetWeight(0, FP_HALF);
    output->SetWeight(1, -FP_ONE / 4);  // net input 0.5 * 0.5 - 0.25 = 0
  }

  NxNeuralNet net;
  NxNode* hidden;
  NxNode* output;
};

TEST_F(BackPropErrorTerms, OutputAndHiddenErrorsFollowTheChainRule) {
  double row[] = {1.0, 1.0};
  net.SetTrainByEpoch(true);
  net.SetFullPattern(row);
  EXPECT_DOUBLE_EQ(net.GetOutputLayer()->GetOutput()[0], 0.5);
  net.GetOutputLayer()->Train();
  EXPECT_EQ(output->GetErrorSum(), -FP_HALF);       // output - target
  EXPECT_EQ(output->GetDerivative(), FP_ONE / 4);    // 0.5 * (1 - 0.5)
  EXPECT_EQ(hidden->GetErrorSum(), -FP_ONE / 16);   // -0.5 * 0.25 * 0.5
  // Epoch mode only accumulates: -(error * slope) * source output.
  EXPECT_EQ(output->GetWeightAccum(0), FP_ONE / 16);  // 0.125 * 0.5
  EXPECT_EQ(output->GetWeightAccum(1), FP_ONE / 8);   // bias input 1
  EXPECT_EQ(output->GetWeight(0), FP_HALF);
}

TEST_F(BackPropErrorTerms, PatternModeStepIsRateTimesErrorTimesSlope) {
  double row[] = {1.0, 1.0};
  net.SetTrainByEpoch(false);
  net.SetFullPattern(row);
  net.GetOutputLayer()->Train();
  // Standard learning with one source: rate min(10 / 1, 2.5) = 2.5, so the
  // step is -(2.5 * -0.5) * 0.25 = 0.3125 times the source output.
  EXPECT_EQ(output->GetWeight(0), FP_HALF + ToFixed(0.3125 * 0.5));
  EXPECT_EQ(output->GetWeight(1), -FP_ONE / 4 + ToFixed(0.3125));
  EXPECT_EQ(output->GetPrevDelta(1), ToFixed(0.3125));
}

TEST_F(BackPropErrorTerms, OutputLayerErrorMeasures) {
  NxBackPropOutputLayer* layer = net.GetOutputLayer();
  layer->SetOutputTolerance(0.25);
  double row[] = {1.0, 0.8};
  net.SetFullPattern(row);
  double targets[] = {0.9};
  EXPECT_TRUE(layer->OutputIsDifferent(targets));
  double close[] = {0.7};
  EXPECT_FALSE(layer->OutputIsDifferent(close));
  NxErrorTotals totals = layer->GetTotalError();
  EXPECT_NEAR(totals.MaxError, 0.4, 1e-6);  // the first call stored 0.9
  EXPECT_NEAR(totals.MeanAbsError, 0.4, 1e-6);
  EXPECT_NEAR(totals.MeanSquareError, 0.16, 1e-6);
  EXPECT_NEAR(layer->GetAverageError(close), 0.2, 1e-9);
  EXPECT_NEAR(layer->GetMeanSquareError(close), 0.04, 1e-9);
}
