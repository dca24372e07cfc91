#include "neural/net.h"
#include "neural/td_layer.h"

NxTemporalDifferenceNet::NxTemporalDifferenceNet(const ConfigData& config, double persistence)
    : NxNeuralBase(config), Persistence(persistence), InputLayer(nullptr), OutputLayer(nullptr) {
  BuildNetwork("LAYER %u has input LAYER 0 as a target.\n\t\t\t\t\nConnection will be ignored.",
               "Network is missing output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
}

NxTemporalDifferenceNet::~NxTemporalDifferenceNet() = default;

void NxTemporalDifferenceNet::InitLayers() {
  LayerFactory factory;
  factory.input = [](const TSize& size, const auto& sources) -> NxBaseLayer* {
    return new NxTempDiffInputLayer(size, SIGMOID, 0.0, sources);
  };
  factory.output = [this](const TSize& size, NODETYPE type, const auto& sources) -> NxBaseLayer* {
    return new NxTempDiffOutputLayer(size, type, Persistence, sources);
  };
  factory.hidden = [this](unsigned layer, const TSize& size, NODETYPE type, const auto& sources) -> NxBaseLayer* {
    return new NxTempDiffLayer(layer, size, type, Persistence, HIDDEN_LAYER, sources);
  };
  CreateLayers(factory);
  InputLayer = static_cast<NxTempDiffInputLayer*>(Layers[0]);
  OutputLayer = static_cast<NxTempDiffOutputLayer*>(Layers[1]);
}

// Momentum and noise play no part in temporal-difference learning.
void NxTemporalDifferenceNet::SetGlobalMomentum(double) {}
void NxTemporalDifferenceNet::AddNoise() {}
void NxTemporalDifferenceNet::SetNoiseLevel(double) {}

void NxTemporalDifferenceNet::InitObservationSequence() { OutputLayer->InitObservationSequence(); }

double* NxTemporalDifferenceNet::GetOutput(double* inputs, bool train, bool newSequence) {
  if (newSequence) InitObservationSequence();
  return OutputLayer->GetOutputFor(inputs, train);
}

void NxTemporalDifferenceNet::TrainOnOutcomes(double* outcomes) { OutputLayer->TrainOnOutcomes(outcomes); }

void NxTemporalDifferenceNet::SetTrainingPersistence(double persistence) { Persistence = persistence; }

void NxTemporalDifferenceNet::SetAutoRates(bool on, unsigned count) {
  CallLayers(1, &NxTempDiffLayer::SetAutoRates, on, count);
}

NxNeuralBase* CreateTempDiffNet(const NxNeuralBase::ConfigData& config, double persistence) {
  return new NxTemporalDifferenceNet(config, persistence);
}
