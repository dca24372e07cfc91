#include <cmath>
#include <typeinfo>

#include "backprop_plan.h"
#include "neural/backprop_net.h"
#include "saturation.h"

void NxNeuralNet::SetupTraining(double** rows, unsigned count, unsigned reportInterval, double tolerance,
                                unsigned maxEpochs, bool byEpoch, bool ownsRows) {
  SetTrainByEpoch(byEpoch);
  SetOutputTolerance(tolerance);
  SetIOPatterns(rows, count, ownsRows);
  MaxEpochs = maxEpochs;
  ReportInterval = reportInterval;
  // Without patterns an epoch would never present anything, so training
  // would spin without end: an empty set finishes at once with nothing to
  // train, and a caller polling the status sees it done.
  Training = false;
  if (rows) {
    EpochCount = 0;
    PatternIndex = 0;
    AnyTrained = false;
    if (OutputList) OutputList->Clear();
    Training = NumPatterns > 0;
    ResetReportPeriod();
  }
  TrainingStatus = NumPatterns > 0 ? 1 : 2;
  SaturationMark = nx_saturation::EventCount();
  SaturationWarned = false;
}

// Once per training run: a run that keeps diverging would otherwise repeat
// it with every presentation.
void NxNeuralNet::WarnIfSaturated() {
  if (SaturationWarned || nx_saturation::EventCount() == SaturationMark) return;
  SaturationWarned = true;
  Warn("Weights or net inputs went past the fixed-point range of -2048 to 2048 during training and were held at "
       "its limits.  Training goes on; a smaller learning rate may help.");
}

void NxNeuralNet::ResetReportPeriod() {
  SumSquareError = 0;
  SumAbsError = 0;
  MaxPatternError = 0;
  WorstPattern = 0;
}

// An interval of 0 would divide by zero; it reports every epoch instead.
bool NxNeuralNet::IsReportEpoch(unsigned epoch, unsigned interval) const {
  return interval == 0 || epoch % interval == 0;
}

// The plan is used only for this class itself: a derived network may have
// replaced a step of the presentation, which the plan would pass over.
void NxNeuralNet::BeginFlatTraining() {
  PlanActive = false;
  if (typeid(*this) != typeid(NxNeuralNet)) return;
  std::vector<NxBaseLayer*> layers;
  for (unsigned layer = 0; layer < MAX_LAYERS; ++layer)
    if (Layers[layer]) layers.push_back(Layers[layer]);
  if (!Plan) Plan = std::make_unique<NxBackPropPlan>();
  PlanActive = Plan->Build(InputLayer, OutputLayer, layers, TrainByEpoch);
}

void NxNeuralNet::KeepErrors(const NxErrorTotals& totals, unsigned row) {
  if (totals.MaxError > MaxPatternError) {
    MaxPatternError = totals.MaxError;
    WorstPattern = row;
  }
  SumSquareError += totals.MeanSquareError;
  SumAbsError += totals.MeanAbsError;
}

bool NxNeuralNet::PresentPattern(unsigned row, bool keepErrors) {
  if (PlanActive) {
    NxErrorTotals totals;
    bool trained = Plan->Present(IOPatterns[row], OutputLayer->GetOutputTolerance(), keepErrors ? &totals : nullptr);
    if (keepErrors) KeepErrors(totals, row);
    return trained;
  }
  SetFullPattern(IOPatterns[row]);
  if (keepErrors) KeepErrors(OutputLayer->GetTotalError(), row);
  if (!OutputLayer->OutputIsDifferent()) return false;
  OutputLayer->TrainNodes();
  return true;
}

void NxNeuralNet::FinishEpoch() {
  if (TrainByEpoch && AnyTrained) UpdateEpochWeights();
  ++EpochCount;
  PatternIndex = 0;
  if (IsReportEpoch(EpochCount, ReportInterval)) {
    if (OutputList)
      OutputList->Add(EpochCount, MaxPatternError, SumAbsError / NumPatterns, std::sqrt(SumSquareError / NumPatterns),
                      WorstPattern);
    ScaleLearningRates(MaxPatternError);
    if (AnyTrained) AddNoise();
    ResetReportPeriod();
  }
  if (!AnyTrained) {
    Training = false;
    TrainingStatus = 2;
    if (OutputList) OutputList->SetUpdated(true);
  }
  AnyTrained = false;
}

void NxNeuralNet::DoSomeTraining(unsigned count) {
  if (Training) DoFlatTraining(count);
  WarnIfSaturated();
}

void NxNeuralNet::DoFlatTraining(unsigned count) {
  BeginFlatTraining();
  unsigned presented = 0;
  while (Training && presented < count) {
    TrainingStatus = 1;
    const bool keepErrors = IsReportEpoch(EpochCount, ReportInterval);
    while (PatternIndex < NumPatterns && presented < count) {
      if (PresentPattern(PatternOrder[PatternIndex], keepErrors)) AnyTrained = true;
      ++PatternIndex;
      ++presented;
    }
    if (PatternIndex == NumPatterns) FinishEpoch();
    if (EpochCount == MaxEpochs && TrainingStatus != 2) {
      Training = false;
      TrainingStatus = 0;
    }
  }
}

// Runs epochs until one trains nothing or the limit is reached. In epoch
// mode the accumulated changes are applied after every presentation from the
// first trained pattern on.
unsigned NxNeuralNet::RunTraining(unsigned reportInterval, unsigned maxEpochs) {
  EpochCount = 0;
  PatternIndex = 0;
  ResetReportPeriod();
  SaturationMark = nx_saturation::EventCount();
  SaturationWarned = false;
  if (NumPatterns == 0) {
    TrainingStatus = 2;  // nothing to train
    return 0;
  }
  bool trained = true;
  BeginFlatTraining();
  while (trained && EpochCount < maxEpochs) {
    TrainingStatus = 1;
    ++EpochCount;
    trained = false;
    bool keepErrors = IsReportEpoch(EpochCount, reportInterval);
    for (PatternIndex = 0; PatternIndex < NumPatterns; ++PatternIndex) {
      if (PresentPattern(PatternOrder[PatternIndex], keepErrors)) trained = true;
      if (trained) UpdateEpochWeights();
    }
    PatternIndex = 0;
    if (trained && keepErrors) {
      ScaleLearningRates(MaxPatternError);
      ResetReportPeriod();
    }
  }
  TrainingStatus = trained ? 0 : 2;
  WarnIfSaturated();
  return EpochCount;
}

unsigned NxNeuralNet::Train(double** rows, unsigned count, unsigned reportInterval, unsigned maxEpochs, bool byEpoch,
                            bool ownsRows) {
  SetTrainByEpoch(byEpoch);
  SetIOPatterns(rows, count, ownsRows);
  return RunTraining(reportInterval, maxEpochs);
}

unsigned NxNeuralNet::Train(NxFile& file, unsigned maxPatterns, unsigned reportInterval, unsigned maxEpochs,
                            bool byEpoch) {
  SetTrainByEpoch(byEpoch);
  ReadIOPatterns(file, maxPatterns);
  return RunTraining(reportInterval, maxEpochs);
}

unsigned NxNeuralNet::Train(const char* fileName, unsigned maxPatterns, unsigned reportInterval, unsigned maxEpochs,
                            bool byEpoch) {
  SetTrainByEpoch(byEpoch);
  ReadIOPatterns(fileName, maxPatterns);
  return RunTraining(reportInterval, maxEpochs);
}
