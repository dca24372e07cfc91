#include <gtest/gtest.h>

#include "net_fixture.h"

namespace {

// Two inputs into one SIGMOID output with hand-set weights.
struct TinyTD {
  TinyTD() : net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7)) {
    out()->SetWeight(0, ToFixed(0.5));
    out()->SetWeight(1, ToFixed(-0.25));
    out()->SetWeight(2, ToFixed(0.125));
  }
  NxTDOutputNode* out() { return static_cast<NxTDOutputNode*>(net->GetLayer(1)->GetNodeAt(0)); }
  NxTemporalDifferenceNet* td() { return AsTD(net); }
  NetPtr net;
};

}  // namespace

TEST(TDTraining, SingleObservationChangesEachWeightByRateTimesErrorTimesGradient) {
  TinyTD t;
  double inputs[] = {0.9, 0.2};
  double prediction = t.td()->GetOutput(inputs, true, true)[0];
  for (unsigned i = 0; i < 3; ++i) EXPECT_EQ(t.out()->GetWeightAccum(i), 0);  // traces were zero

  FP12_20 o = ToFixed(prediction);
  FP12_20 slope = FpMul(o, FP_ONE - o);
  FP12_20 x[] = {ToFixed(0.9), ToFixed(0.2), FP_ONE};
  FP12_20 before[] = {t.out()->GetWeight(0), t.out()->GetWeight(1), t.out()->GetWeight(2)};
  FP12_20 rate = t.out()->GetLearningRateFP();
  EXPECT_EQ(rate, ToFixed(0.01));  // min(0.01, 0.1 / 2 sources)

  double outcome = 1.0;
  t.td()->TrainOnOutcomes(&outcome);
  FP12_20 error = FP_ONE - o;  // outcome minus prediction
  for (unsigned i = 0; i < 3; ++i) {
    FP12_20 trace = FpMul(slope, x[i]);
    EXPECT_EQ(t.out()->GetWeight(i) - before[i], FpMul(rate, FpMul(error, trace))) << i;
    EXPECT_EQ(t.out()->GetWeightAccum(i), 0);
    EXPECT_EQ(t.out()->GetTrace(i), 0);
  }
  EXPECT_TRUE(t.out()->IsSequenceStart());

  // A second outcome finds nothing accumulated and changes nothing.
  std::vector<FP12_20> settled = AllWeights(*t.net);
  t.td()->TrainOnOutcomes(&outcome);
  EXPECT_EQ(AllWeights(*t.net), settled);
  EXPECT_EQ(t.out()->GetErrorSum(), -FP_ONE);  // 0 - outcome
}

TEST(TDTraining, PredictionWithoutTrainingLeavesStateAlone) {
  TinyTD t;
  double inputs[] = {0.4, 0.6};
  t.td()->GetOutput(inputs, true, true);
  double next[] = {0.1, 0.3};
  t.td()->GetOutput(next, true, false);
  FP12_20 traces[] = {t.out()->GetTrace(0), t.out()->GetTrace(1), t.out()->GetTrace(2)};
  FP12_20 accum[] = {t.out()->GetWeightAccum(0), t.out()->GetWeightAccum(1), t.out()->GetWeightAccum(2)};
  double probe[] = {0.8, 0.8};
  double a = t.td()->GetOutput(probe, false, false)[0];
  double b = t.td()->GetOutput(probe, false, false)[0];
  EXPECT_EQ(a, b);
  for (unsigned i = 0; i < 3; ++i) {
    EXPECT_EQ(t.out()->GetTrace(i), traces[i]);
    EXPECT_EQ(t.out()->GetWeightAccum(i), accum[i]);
  }
}

TEST(TDTraining, SecondObservationAccumulatesTheTemporalDifference) {
  TinyTD t;
  double first[] = {1.0, 0.0};
  FP12_20 o1 = ToFixed(t.td()->GetOutput(first, true, true)[0]);
  FP12_20 trace0 = FpMul(FpMul(o1, FP_ONE - o1), FP_ONE);
  EXPECT_EQ(t.out()->GetTrace(0), trace0);
  double second[] = {0.0, 1.0};
  FP12_20 o2 = ToFixed(t.td()->GetOutput(second, true, false)[0]);
  // The change of prediction times the trace as it stood before the step.
  EXPECT_EQ(t.out()->GetWeightAccum(0), FpMul(o2 - o1, trace0));
  // The trace decays by the persistence; input 0 is now 0, so nothing is added.
  EXPECT_EQ(t.out()->GetTrace(0), FpMul(trace0, ToFixed(0.7)));
}

TEST(TDTraining, ZeroPersistenceKeepsOnlyTheLastGradient) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({1, 1}, {1, 1}), 0.0));
  auto* out = static_cast<NxTDOutputNode*>(net->GetLayer(1)->GetNodeAt(0));
  double a = 1.0, b = 0.5;
  AsTD(net)->GetOutput(&a, true, true);
  FP12_20 o = ToFixed(AsTD(net)->GetOutput(&b, true, false)[0]);
  EXPECT_EQ(out->GetTrace(0), FpMul(FpMul(o, FP_ONE - o), ToFixed(0.5)));
}

TEST(TDTraining, HiddenLayersLearnAndLogicNodesNeverChange) {
  // Weights drawn from the clock could, once in a while, give hidden nodes
  // nothing to learn from this short sequence.
  NxFixRandomSeed(5);
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {2, 1}, SIGMOID);
  config.AddLayer(2, {2, 1}, SIGMOID);
  config.AddLayer(3, {2, 1}, BINARY);
  config.AddLayer(4, {1, 1}, OR);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(0, 2, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(0, 3, {1, 1}, {1, 0}, {0, 0}, 0);
  config.AddMapping(3, 4, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(2, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(4, 1, {1, 1}, {0, 0}, {0, 0}, 0);
  NetPtr net(CreateTempDiffNet(config, 0.7));
  std::vector<FP12_20> hiddenBefore;
  for (unsigned n = 0; n < 2; ++n)
    for (unsigned w = 0; w < 3; ++w) hiddenBefore.push_back(net->GetLayer(2)->GetNodeAt(n)->GetWeight(w));
  double seq[3][2] = {{0.9, 0.1}, {0.4, 0.6}, {0.2, 0.9}};
  AsTD(net)->GetOutput(seq[0], true, true);
  AsTD(net)->GetOutput(seq[1], true, false);
  AsTD(net)->GetOutput(seq[2], true, false);
  double outcome = 0.9;
  AsTD(net)->TrainOnOutcomes(&outcome);
  std::vector<FP12_20> hiddenAfter;
  for (unsigned n = 0; n < 2; ++n)
    for (unsigned w = 0; w < 3; ++w) hiddenAfter.push_back(net->GetLayer(2)->GetNodeAt(n)->GetWeight(w));
  EXPECT_NE(hiddenAfter, hiddenBefore);
  EXPECT_EQ(net->GetLayer(4)->GetNodeAt(0)->GetNumWeights(), 0u);
}

TEST(TDTraining, AbandonedSequenceKeepsItsAccumulatedChanges) {
  TinyTD t;
  double a[] = {1.0, 0.0}, b[] = {0.0, 1.0};
  t.td()->GetOutput(a, true, true);
  t.td()->GetOutput(b, true, false);
  FP12_20 accum = t.out()->GetWeightAccum(0);
  ASSERT_NE(accum, 0);
  t.td()->InitObservationSequence();
  EXPECT_EQ(t.out()->GetWeightAccum(0), accum);
  EXPECT_EQ(t.out()->GetTrace(0), 0);
  EXPECT_TRUE(t.out()->IsSequenceStart());
}

TEST(AutoRates, SwitchingOnStartsAtTheLargestRateAndPeriodsRescale) {
  TinyTD t;
  t.net->SetupStandardLearning(0.3125);
  t.td()->SetAutoRates(true, 2);
  NxTDOutputNode* out = t.out();
  // ScaleValue 0 gives the rate at the edge of the schedule: about the standard rate.
  EXPECT_NEAR(ToDouble(out->GetLearningRateFP()), 0.3125, 0.001);
  double inputs[] = {0.5, 0.5};
  double outcome = 1.0;
  for (int i = 0; i < 2; ++i) {
    t.td()->GetOutput(inputs, true, true);
    t.td()->TrainOnOutcomes(&outcome);
  }
  // After a full period the scale value is the mean absolute outcome error.
  EXPECT_GT(out->GetScaleValue(), 0.0);
  EXPECT_LT(out->GetScaleValue(), 1.0);
  EXPECT_LT(ToDouble(out->GetLearningRateFP()), 0.3125);
}

TEST(TDTraining, WeightsPushedPastTheFixedPointRangeHoldAtItsLimits) {
  // Sixteen inputs, so that the weights go through whole rows of eight as
  // well as one by one.
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({16, 1}, {1, 1}, LINEAR), 0.7));
  NxNode* out = net->GetLayer(1)->GetNodeAt(0);
  for (unsigned i = 0; i < 16; ++i) out->SetWeight(i, ToFixed(i < 8 ? 2047.99 : -2047.99));
  out->SetWeight(16, ToFixed(-2000.0));
  std::vector<double> ones(16, 1.0);
  EXPECT_NEAR(AsTD(net)->GetOutput(ones.data(), true, true)[0], -2000.0, 0.01);
  double outcome = 0.0;
  AsTD(net)->TrainOnOutcomes(&outcome);
  for (unsigned i = 0; i < 8; ++i) EXPECT_EQ(out->GetWeight(i), INT32_MAX) << i;
  for (unsigned i = 8; i < 17; ++i) EXPECT_GT(out->GetWeight(i), i < 16 ? ToFixed(-2047.99) : ToFixed(-2000.0)) << i;
  // The net input of all those weights at their limit is held there too.
  out->SetWeight(16, ToFixed(2047.0));
  for (unsigned i = 8; i < 16; ++i) out->SetWeight(i, ToFixed(1.0));
  EXPECT_GT(AsTD(net)->GetOutput(ones.data(), false, true)[0], 2047.99);
}
