#include "neural/backprop_layer.h"

#include <cmath>

NxBackPropLayer::NxBackPropLayer(unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType,
                                 const SourceData& sources)
    : NxBackPropLayer(DeferNodes{}, layerNumber, size, type, layerType, sources) {
  InitNodes();
}

NxBackPropLayer::NxBackPropLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type,
                                 LAYERTYPE layerType, const SourceData& sources)
    : NxBaseLayer(layerNumber, size, type, layerType, sources) {}

void NxBackPropLayer::InitNodes() { BuildWiredNodes<NxNode>(); }

void NxBackPropLayer::SetTrainByEpoch(bool byEpoch) { CallNodes(&NxNode::SetTrainByEpoch, byEpoch); }

void NxBackPropLayer::UpdateEpochWeights() { CallNodes(&NxNode::UpdateEpochWeights); }

NxBackPropInputLayer::NxBackPropInputLayer(const TSize& size, NODETYPE type, const SourceData& sources)
    : NxBackPropLayer(DeferNodes{}, 0, size, type, INPUT_LAYER, sources) {
  InitNodes();
}

void NxBackPropInputLayer::InitNodes() {
  for (int32_t y = 0; y < Dimensions.cy; ++y)
    for (int32_t x = 0; x < Dimensions.cx; ++x) Nodes.Add(new NxInputNode());
}

bool NxBackPropInputLayer::IsNewInput() const { return NewInput; }

void NxBackPropInputLayer::ClearInputFlag() { NewInput = false; }

void NxBackPropInputLayer::SetOutputTolerance(double) {}

void NxBackPropInputLayer::SetInputValues(double* values) {
  NewInput = true;
  for (unsigned k = 0; k < NodeCount(); ++k) static_cast<NxInputNode*>(Nodes[k])->SetInputValue(values[k]);
}

NxBackPropOutputLayer::NxBackPropOutputLayer(const TSize& size, NODETYPE type, const SourceData& sources)
    : NxBackPropLayer(DeferNodes{}, 1, size, type, OUTPUT_LAYER, sources) {
  InitNodes();
  for (unsigned k = 0; k < NodeCount(); ++k) Outputs.Add(0.0);
}

void NxBackPropOutputLayer::InitNodes() { BuildWiredNodes<NxOutputNode>(); }

void NxBackPropOutputLayer::SetOutputTolerance(double tolerance) { OutputTolerance = tolerance; }

void NxBackPropOutputLayer::SetOutputValues(double* targets) {
  for (unsigned k = 0; k < NodeCount(); ++k) OutputNode(k)->SetTargetValue(targets[k]);
}

double* NxBackPropOutputLayer::GetOutput() {
  if (IsNewInput()) {
    for (unsigned k = 0; k < NodeCount(); ++k) Outputs[k] = ToDouble(Nodes[k]->GetNewOutput());
    ClearInputFlag();
  }
  return Outputs.Data();
}

double NxBackPropOutputLayer::NodeError(unsigned index, const double* targets) {
  return targets ? targets[index] - Outputs[index] : OutputNode(index)->GetOutputError();
}

bool NxBackPropOutputLayer::AnyBeyondTolerance(const double* targets) {
  for (unsigned k = 0; k < NodeCount(); ++k)
    if (std::fabs(NodeError(k, targets)) > OutputTolerance) return true;
  return false;
}

bool NxBackPropOutputLayer::OutputIsDifferent(double* targets) {
  if (IsNewInput()) {
    SetOutputValues(targets);
    GetOutput();
  }
  return AnyBeyondTolerance(targets);
}

bool NxBackPropOutputLayer::OutputIsDifferent() {
  GetOutput();
  return AnyBeyondTolerance(nullptr);
}

// An empty layer has no error to average; it counts as exact.
NxErrorTotals NxBackPropOutputLayer::Totals(const double* targets) {
  GetOutput();
  NxErrorTotals totals;
  if (NodeCount() == 0) return totals;
  for (unsigned k = 0; k < NodeCount(); ++k) {
    double error = std::fabs(NodeError(k, targets));
    if (error > totals.MaxError) totals.MaxError = error;
    totals.MeanAbsError += error;
    totals.MeanSquareError += error * error;
  }
  totals.MeanAbsError /= NodeCount();
  totals.MeanSquareError /= NodeCount();
  return totals;
}

double NxBackPropOutputLayer::GetAverageError(double* targets) { return Totals(targets).MeanAbsError; }

double NxBackPropOutputLayer::GetAverageError() { return Totals(nullptr).MeanAbsError; }

double NxBackPropOutputLayer::GetMeanSquareError(double* targets) { return Totals(targets).MeanSquareError; }

double NxBackPropOutputLayer::GetMeanSquareError() { return Totals(nullptr).MeanSquareError; }

NxErrorTotals NxBackPropOutputLayer::GetTotalError(double* targets) { return Totals(targets); }

NxErrorTotals NxBackPropOutputLayer::GetTotalError() { return Totals(nullptr); }

double NxBackPropOutputLayer::GetTrackedError() {
  if (NodeCount() == 0) return 0.0;
  double sum = 0;
  for (unsigned k = 0; k < NodeCount(); ++k) sum += Nodes[k]->GetScaleValue();
  return sum / NodeCount();
}

void NxBackPropOutputLayer::TrainNodes() {
  ResetNodeFlags();
  for (unsigned k = 0; k < NodeCount(); ++k) Nodes[k]->Train();
}

void NxBackPropOutputLayer::Train(double* targets) {
  if (!OutputIsDifferent(targets)) return;
  SetOutputValues(targets);
  TrainNodes();
}

void NxBackPropOutputLayer::Train() {
  if (OutputIsDifferent()) TrainNodes();
}

void NxBackPropOutputLayer::ResetNodeFlags() { CallNodes(&NxNode::ResetFlags); }
