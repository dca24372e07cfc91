#include "neural/td_node.h"

#include <algorithm>

#include "neural/exceptions.h"
#include "trace_rows.h"
#include "weight_rows.h"

NxTDNode::NxTDNode() : NxNode(SIGMOID) {
  TrainByEpoch = false;
  IsInputNode = true;
}

NxTDNode::NxTDNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence)
    : NxNode(sources, type), PersistenceFP(ToFixed(persistence)) {
  TrainByEpoch = false;
  for (unsigned i = 0; i < NumSources; ++i)
    if (!dynamic_cast<NxTDNode*>(SourceNodes[i]))
      throw XCNodeSourceCast("NxTDNode objects must have sources derived from NxTDNode");
  if (IsWeighted()) {
    Traces.Reallocate(NumSources + 1);
    for (unsigned i = 0; i <= NumSources; ++i) Traces.Add(0);
  }
}

// Temporal-difference nodes never train by epoch.
void NxTDNode::SetTrainByEpoch(bool) { TrainByEpoch = false; }

void NxTDNode::SetupStandardLearning(double rate) {
  if (IsSmoothType(NodeType)) {
    double n = NumSources > 0 ? NumSources : 1;
    LearningRate = std::min(0.01, 0.1 / n);
    RateScale = std::max(rate - LearningRate, 0.0) * 0.00315;
    LearningRateFP = ToFixed(LearningRate);
  } else {
    LearningRateFP = FP_ONE;
  }
}

void NxTDNode::ScaleLearningRate(double x) { ScaleRate(x, 0.00314); }

void NxTDNode::ResetTraining() {
  NxNode::ResetTraining();
  LastOutput = 0;
  for (unsigned i = 0; i < Traces.GetNumItems(); ++i) Traces[i] = 0;
  SequenceStart = true;
}

void NxTDNode::UpdateTemporalDifferences() {
  if (Trained) return;
  Trained = true;
  UpdateErrorDelta();
  NxNode** sources = NumSources ? static_cast<NxNode**>(SourceNodes) : nullptr;
  // Sources already visited in this step (and input nodes) have nothing to do.
  for (unsigned i = 0; i < NumSources; ++i)
    if (!sources[i]->IsTrained()) static_cast<NxTDNode*>(sources[i])->UpdateTemporalDifferences();
  LastOutput = Output;
  SequenceStart = false;
  if (IsWeighted()) ExtendTraces();
}

// The plan's row step: per weight, the change so far grows by -error times
// the trace as it stood before this step; then the trace decays and takes
// the new gradient, the source's output or 1 for the bias.
void NxTDNode::ExtendTraces() {
  nx_rows::ExtendTraces(WeightAccum.data(), Traces.Data(), nx_rows::SourceOutputs(SourceNodes, NumSources),
                        NumSources + 1, FpNeg(ErrorSum), PersistenceFP, Derivative);
}

void NxTDNode::TrainOnOutcome() {
  if (Trained) return;
  Trained = true;
  if (ErrorDirty) UpdateErrorDelta();
  for (unsigned i = 0; i < NumSources; ++i)
    if (!SourceNodes[i]->IsTrained()) TDSource(i)->TrainOnOutcome();
  LastOutput = 0;
  SequenceStart = true;
  if (AutoRates) CountForAutoRates();
  if (IsWeighted()) LearnFromSequence();
}

void NxTDNode::LearnFromSequence() {
  nx_rows::LearnFromTraces(Weights.data(), WeightAccum.data(), Traces.Data(), NumSources + 1, FpNeg(ErrorSum),
                           LearningRateFP);
  WeightsChanged();
}

void NxTDNode::SetTrainingPersistence(double persistence) {
  PersistenceFP = ToFixed(std::clamp(persistence, 0.0, 1.0));
}

double NxTDNode::GetPersistence() { return ToDouble(PersistenceFP); }

void NxTDNode::InitObservationSequence() {
  if (SequenceStart) return;
  for (unsigned i = 0; i < NumSources; ++i) TDSource(i)->InitObservationSequence();
  for (unsigned i = 0; i < Traces.GetNumItems(); ++i) Traces[i] = 0;
  LastOutput = 0;
  SequenceStart = true;
}

NxTDInputNode::NxTDInputNode() : NxTDNode() {}

void NxTDInputNode::AssertNewInput() { NotifyTargets(); }

void NxTDInputNode::SetInputValue(double value) { StoreInput(value); }

NxTDOutputNode::NxTDOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence)
    : NxTDNode(sources, type, persistence) {}

void NxTDOutputNode::AssertNewInput() { NewInput = true; }

void NxTDOutputNode::UpdateErrorDelta() {
  if (!ErrorDirty) return;
  NxNode::UpdateErrorDelta();
  ErrorSum = FpSub(LastOutput, Output);
}

void NxTDOutputNode::SetOutcomeDifference(double outcome) {
  ErrorSum = FpSub(LastOutput, ToFixed(outcome));
  ErrorDirty = false;
}

double NxTDOutputNode::GetOutput() { return ToDouble(GetNewOutput()); }
