#include "neural/td_layer.h"

#include <algorithm>
#include <cmath>

NxTempDiffLayer::NxTempDiffLayer(unsigned layerNumber, const TSize& size, NODETYPE type, double persistence,
                                 LAYERTYPE layerType, const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, layerNumber, size, type, persistence, layerType, sources) {
  InitNodes();
}

NxTempDiffLayer::NxTempDiffLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type,
                                 double persistence, LAYERTYPE layerType, const SourceData& sources)
    : NxBaseLayer(layerNumber, size, type, layerType, sources), Persistence(persistence) {}

void NxTempDiffLayer::InitNodes() {
  BuildWiredNodes([this](const NxPtrArray<NxNode>& sources, NODETYPE type) -> NxNode* {
    return new NxTDNode(sources, type, Persistence);
  });
}

void NxTempDiffLayer::SetAutoRates(bool on, unsigned period) {
  for (unsigned i = 0; i < NodeCount(); ++i) Nodes[i]->SetAutoRates(on, period, Nodes[i]->GetScaleValue());
}

NxTempDiffInputLayer::NxTempDiffInputLayer(const TSize& size, NODETYPE type, double persistence,
                                           const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, 0, size, type, persistence, INPUT_LAYER, sources), NewInput(false) {
  InitNodes();
}

void NxTempDiffInputLayer::InitNodes() {
  for (int32_t y = 0; y < Dimensions.cy; ++y)
    for (int32_t x = 0; x < Dimensions.cx; ++x) Nodes.Add(new NxTDInputNode());
}

bool NxTempDiffInputLayer::IsNewInput() const { return NewInput; }

void NxTempDiffInputLayer::ClearInputFlag() { NewInput = false; }

void NxTempDiffInputLayer::Placeholder() {}

void NxTempDiffInputLayer::SetInputValues(double* values) {
  NewInput = true;
  unsigned count = NodeCount();
  if (count == 0) return;
  NxNode** nodes = Nodes;
  for (unsigned k = 0; k < count; ++k) static_cast<NxTDInputNode*>(nodes[k])->SetInputValue(values[k]);
}

NxTempDiffOutputLayer::NxTempDiffOutputLayer(const TSize& size, NODETYPE type, double persistence,
                                             const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, 1, size, type, persistence, OUTPUT_LAYER, sources), Outputs(0, 10) {
  InitNodes();
  for (unsigned k = 0; k < NodeCount(); ++k) Outputs.Add(0.0);
}

void NxTempDiffOutputLayer::InitNodes() {
  BuildWiredNodes([this](const NxPtrArray<NxNode>& sources, NODETYPE type) -> NxNode* {
    return new NxTDOutputNode(sources, type, Persistence);
  });
}

void NxTempDiffOutputLayer::RefreshOutputs() {
  if (!IsNewInput()) return;
  for (unsigned k = 0; k < NodeCount(); ++k) Outputs[k] = ToDouble(Nodes[k]->GetNewOutput());
  ClearInputFlag();
}

double* NxTempDiffOutputLayer::GetOutput(bool train) {
  RefreshOutputs();
  if (train) TrainOnDifferences();
  return Outputs.Data();
}

void NxTempDiffOutputLayer::InitObservationSequence() {
  for (unsigned k = 0; k < NodeCount(); ++k) OutputNode(k)->InitObservationSequence();
}

void NxTempDiffOutputLayer::ResetNodeFlags() {
  for (unsigned k = 0; k < NodeCount(); ++k) Nodes[k]->ResetFlags();
}

void NxTempDiffOutputLayer::SetTargetOutcomes(double* outcomes) {
  for (unsigned k = 0; k < NodeCount(); ++k) OutputNode(k)->SetOutcomeDifference(outcomes[k]);
}

// The observation step as one sweep over the nodes the outputs depend on:
// the same flags and values as marking them recursively and then training
// them recursively, without a call per connection.
void NxTempDiffOutputLayer::TrainOnDifferences() {
  if (Sweep.empty()) BuildSweep();
  for (NxTDNode* node : Sweep) node->MarkForSweep();
  for (NxTDNode* node : Sweep) node->ObserveInSweep();
}

void NxTempDiffOutputLayer::BuildSweep() {
  std::vector<NxNode*> pending;
  for (unsigned k = 0; k < NodeCount(); ++k) pending.push_back(Nodes[k]);
  std::vector<NxNode*> seen;
  while (!pending.empty()) {
    NxNode* node = pending.back();
    pending.pop_back();
    if (node->GetNumSources() == 0 && dynamic_cast<NxTDInputNode*>(node)) continue;
    if (std::find(seen.begin(), seen.end(), node) != seen.end()) continue;
    seen.push_back(node);
    Sweep.push_back(static_cast<NxTDNode*>(node));
    for (unsigned i = 0; i < node->GetNumSources(); ++i) pending.push_back(node->GetSource(i));
  }
}

void NxTempDiffOutputLayer::TrainOnOutcomes(double* outcomes) {
  ResetNodeFlags();
  SetTargetOutcomes(outcomes);
  for (unsigned k = 0; k < NodeCount(); ++k) OutputNode(k)->TrainOnOutcome();
}

double NxTempDiffOutputLayer::GetOutcomeDifference(double* values) {
  RefreshOutputs();
  if (NodeCount() == 0) return 0.0;
  double sum = 0;
  for (unsigned k = 0; k < NodeCount(); ++k) sum += std::fabs(values[k] - ToDouble(Nodes[k]->GetNewOutput()));
  return sum / NodeCount();
}
