#include "neural/td_layer.h"

#include "neural/check.h"
#include "td_plan.h"

NxTempDiffLayer::NxTempDiffLayer(unsigned layerNumber, const TSize& size, NODETYPE type, double persistence,
                                 LAYERTYPE layerType, const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, layerNumber, size, type, persistence, layerType, sources) {
  InitNodes();
}

NxTempDiffLayer::NxTempDiffLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type,
                                 double persistence, LAYERTYPE layerType, const SourceData& sources)
    : NxBaseLayer(layerNumber, size, type, layerType, sources), Persistence(persistence) {}

void NxTempDiffLayer::InitNodes() { BuildWiredNodes<NxTDNode>(Persistence); }

void NxTempDiffLayer::SetAutoRates(bool on, unsigned period) {
  for (unsigned i = 0; i < NodeCount(); ++i) Nodes[i]->SetAutoRates(on, period, Nodes[i]->GetScaleValue());
}

NxTempDiffInputLayer::NxTempDiffInputLayer(const TSize& size, NODETYPE type, double persistence,
                                           const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, 0, size, type, persistence, INPUT_LAYER, sources) {
  InitNodes();
}

void NxTempDiffInputLayer::InitNodes() {
  for (int32_t y = 0; y < Dimensions.cy; ++y)
    for (int32_t x = 0; x < Dimensions.cx; ++x) Nodes.Add(new NxTDInputNode());
}

bool NxTempDiffInputLayer::IsNewInput() const { return NewInput; }

void NxTempDiffInputLayer::ClearInputFlag() { NewInput = false; }

void NxTempDiffInputLayer::SetInputValues(double* values) {
  NewInput = true;
  for (unsigned k = 0; k < NodeCount(); ++k) static_cast<NxTDInputNode*>(Nodes[k])->SetInputValue(values[k]);
}

NxTempDiffOutputLayer::NxTempDiffOutputLayer(const TSize& size, NODETYPE type, double persistence,
                                             const SourceData& sources)
    : NxTempDiffLayer(DeferNodes{}, 1, size, type, persistence, OUTPUT_LAYER, sources) {
  InitNodes();
  for (unsigned k = 0; k < NodeCount(); ++k) Outputs.Add(0.0);
}

NxTempDiffOutputLayer::~NxTempDiffOutputLayer() = default;

void NxTempDiffOutputLayer::InitNodes() { BuildWiredNodes<NxTDOutputNode>(Persistence); }

double* NxTempDiffOutputLayer::GetOutput(bool train) {
  if (IsNewInput()) {
    for (unsigned k = 0; k < NodeCount(); ++k) Outputs[k] = ToDouble(Nodes[k]->GetNewOutput());
    ClearInputFlag();
  }
  if (train) TrainOnDifferences();
  return Outputs.Data();
}

void NxTempDiffOutputLayer::InitObservationSequence() { CallNodes(&NxTDOutputNode::InitObservationSequence); }

void NxTempDiffOutputLayer::ResetNodeFlags() { CallNodes(&NxNode::ResetFlags); }

void NxTempDiffOutputLayer::SetTargetOutcomes(double* outcomes) {
  for (unsigned k = 0; k < NodeCount(); ++k) OutputNode(k)->SetOutcomeDifference(outcomes[k]);
}

void NxTempDiffOutputLayer::TrainOnDifferences() { Plan().Observe(); }

NxTDPlan& NxTempDiffOutputLayer::Plan() {
  if (!TrainingPlan) {
    std::vector<NxTDNode*> outputs;
    for (unsigned k = 0; k < NodeCount(); ++k) outputs.push_back(OutputNode(k));
    TrainingPlan = std::make_unique<NxTDPlan>(outputs, InputNodes());
  }
  return *TrainingPlan;
}

// Every layer but the input layer has sources, so the chain of first
// sources (the one IsNewInput follows) ends there.
std::vector<NxNode*> NxTempDiffOutputLayer::InputNodes() const {
  const NxBaseLayer* layer = this;
  while (layer->GetLayerType() != INPUT_LAYER) {
    NX_CHECK(layer->GetSources().NumSources > 0);
    layer = layer->GetSources().SourceLayers[0];
  }
  std::vector<NxNode*> nodes;
  for (unsigned k = 0; k < layer->GetNumNodes(); ++k) nodes.push_back(layer->GetNodeAt(k));
  return nodes;
}

double* NxTempDiffOutputLayer::GetOutputFor(const double* inputs, bool train) {
  Plan().Evaluate(inputs);
  for (unsigned k = 0; k < NodeCount(); ++k) Outputs[k] = ToDouble(Nodes[k]->GetOutputValue());
  ClearInputFlag();
  if (train) TrainOnDifferences();
  return Outputs.Data();
}

// The plan visits every node the outputs depend on, so the flags that
// ResetNodeFlags would set need not be set first.
void NxTempDiffOutputLayer::TrainOnOutcomes(double* outcomes) {
  SetTargetOutcomes(outcomes);
  Plan().TrainOnOutcome();
}
