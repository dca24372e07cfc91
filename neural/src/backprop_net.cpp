#include "neural/backprop_net.h"

#include <cstdint>
#include <utility>

#include "backprop_plan.h"
#include "neural/warning.h"
#include "weight_random.h"

NxNeuralNet::NxNeuralNet(const ConfigData& config) : NxNeuralBase(config) {
  BuildNetwork("LAYER %u has Input LAYER 0 as a target.\n\t\t\t\t\nConnection will be ignored.",
               "Network is missing output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  SetOutputTolerance(0.00001);
}

NxNeuralNet::~NxNeuralNet() {
  FreePatterns();
  if (OwnsOutputList) delete OutputList;
}

void NxNeuralNet::InitLayers() {
  LayerFactory factory;
  factory.input = [](const TSize& size, const auto& sources) -> NxBaseLayer* {
    return new NxBackPropInputLayer(size, SIGMOID, sources);
  };
  factory.output = [](const TSize& size, NODETYPE type, const auto& sources) -> NxBaseLayer* {
    return new NxBackPropOutputLayer(size, type, sources);
  };
  factory.hidden = [](unsigned layer, const TSize& size, NODETYPE type, const auto& sources) -> NxBaseLayer* {
    return new NxBackPropLayer(layer, size, type, HIDDEN_LAYER, sources);
  };
  CreateLayers(factory);
  InputLayer = static_cast<NxBackPropInputLayer*>(Layers[0]);
  OutputLayer = static_cast<NxBackPropOutputLayer*>(Layers[1]);
}

void NxNeuralNet::SetGlobalMomentum(double momentum) { CallLayers(0, &NxBaseLayer::SetMomentum, momentum); }

unsigned NxNeuralNet::GetReportInterval() const { return ReportInterval; }

unsigned NxNeuralNet::GetMaxEpochs() const { return MaxEpochs; }

unsigned NxNeuralNet::GetEpochCount() const { return EpochCount; }

unsigned NxNeuralNet::GetWorstPattern() const { return WorstPattern; }

double NxNeuralNet::GetMaxPatternError() const { return MaxPatternError; }

bool NxNeuralNet::IsTraining() const { return Training; }

void NxNeuralNet::SetOutputTolerance(double tolerance) {
  if (OutputLayer) OutputLayer->SetOutputTolerance(tolerance);
  OutputTolerance = tolerance;
}

void NxNeuralNet::FreePatterns() {
  PatternOrder.clear();
  if (OwnsIOPatterns && IOPatterns) {
    for (unsigned i = 0; i < NumPatterns; ++i) delete[] IOPatterns[i];
    delete[] IOPatterns;
  }
  IOPatterns = nullptr;
  NumPatterns = 0;
}

void NxNeuralNet::SetIOPatterns(double** rows, unsigned count, bool owns) {
  // No rows means no patterns, whatever the count says.
  if (!rows) count = 0;
  if (IOPatterns && rows != IOPatterns) FreePatterns();
  if (rows && rows == IOPatterns && count != NumPatterns)
    NxShowWarning("WARNING: Potential Memory Error",
                  "New IOPatterns use same memory address as previous IOPatterns, but number of patterns is "
                  "different.");
  IOPatterns = rows;
  NumPatterns = count;
  PatternOrder.resize(count);
  for (unsigned i = 0; i < count; ++i) PatternOrder[i] = i;
  OwnsIOPatterns = owns;
}

void NxNeuralNet::SetTrainByEpoch(bool byEpoch) {
  TrainByEpoch = byEpoch;
  CallLayers(1, &NxBackPropLayer::SetTrainByEpoch, byEpoch);
}

void NxNeuralNet::SetTrainingOutputList(NxTrainingOutputList* list, bool owns) {
  if (OwnsOutputList && OutputList != list) delete OutputList;
  OutputList = list;
  OwnsOutputList = owns;
}

double* NxNeuralNet::Propagate(double* inputs) {
  SetInputValues(inputs);
  return OutputLayer->GetOutput();
}

// Draws combine two 15-bit values so that sets above 32768 patterns are
// shuffled over their whole length.
void NxNeuralNet::RandomizeIOPatterns() {
  if (NumPatterns == 0 || TrainByEpoch) return;
  for (unsigned i = 0; i < NumPatterns; ++i) {
    uint32_t r = (uint32_t(nx_random::Next15()) << 15) | uint32_t(nx_random::Next15());
    unsigned j = r % NumPatterns;
    if (j != i) std::swap(PatternOrder[i], PatternOrder[j]);
  }
}

void NxNeuralNet::SetInputValues(double* values) {
  if (InputLayer) InputLayer->SetInputValues(values);
}

void NxNeuralNet::SetOutputValues(double* targets) { OutputLayer->SetOutputValues(targets); }

void NxNeuralNet::SetFullPattern(double* row) {
  SetInputValues(row);
  SetOutputValues(row + NumInputs);
}

void NxNeuralNet::AutoScaleRates(double x) {
  for (unsigned layer = 0; layer < MAX_LAYERS; ++layer)
    if (Layers[layer] && Layers[layer]->IsAutoScaling()) Layers[layer]->ScaleLearningRates(x);
}

void NxNeuralNet::UpdateEpochWeights() {
  if (!TrainByEpoch) return;
  if (PlanActive) return Plan->ApplyEpochChanges();
  CallLayers(1, &NxBackPropLayer::UpdateEpochWeights);
}

NxNeuralBase* CreateBackPropNet(const NxNeuralBase::ConfigData& config) { return new NxNeuralNet(config); }
