#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <string>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/safe_save.h"
#include "neural/warning.h"
#include "transfer.h"
#include "weight_random.h"
#include "weights_diagnosis.h"
#include "weights_io.h"

namespace {

// The reason stays in the error text, cut to its size, for callers that ask
// the network rather than catch.
template <class Exception>
[[noreturn]] void Refuse(char (&errorText)[NxNeuralBase::TEXT_SIZE], const std::string& reason) {
  std::snprintf(errorText, NxNeuralBase::TEXT_SIZE, "%s", reason.c_str());
  throw Exception(errorText);
}

// The cells of a grid; none along an axis of 0 or less.
uint64_t Cells(const TSize& size) { return uint64_t(size.cx > 0 ? size.cx : 0) * uint64_t(size.cy > 0 ? size.cy : 0); }

// Removes the mapping of the pair; false when there was none.
bool RemoveIfMapped(NxNeuralBase::ConfigData& config, unsigned source, unsigned target) {
  if (!config.GetMapping(source, target)) return false;
  config.RemoveMapping(source, target);
  return true;
}

}  // namespace

NxNeuralBase::NxNeuralBase() : NxNeuralBase(ConfigData()) {}

NxNeuralBase::NxNeuralBase(const ConfigData& config)
    : Config(config), Layers(MAX_LAYERS, 0, true), LayerSources(MAX_LAYERS, 0, true) {
  for (unsigned i = 0; i < MAX_LAYERS; ++i) {
    Layers.Add(nullptr);
    LayerSources.Add(nullptr);
  }
  nx_random::ReseedFromClock();
  nx_transfer::BuildTables();
}

// Sources go before the layers that reference them, so that no layer
// outlives the source list it was built from.
NxNeuralBase::~NxNeuralBase() {
  LayerSources.Flush(true);
  Layers.Flush(true);
}

void NxNeuralBase::Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(WarningText, TEXT_SIZE, format, args);
  va_end(args);
  WarnMessage();
}

void NxNeuralBase::BuildNetwork(const char* layer0Warning, const char* noOutputText) {
  if (!Config.HasLayer(0))
    Refuse<XCNoInputLayer>(ErrorText, "Network is missing input layer.\n\t\t\t\nInput layer must be LAYER 0.");
  if (!Config.HasLayer(1)) Refuse<XCNoOutputLayer>(ErrorText, noOutputText);
  DropInvalidConnections(layer0Warning);
  DropLayersWithoutSources();
  // An output layer without sources has just been dropped: without it the
  // network has no output at all.
  if (!Config.HasLayer(1)) Refuse<XCNoOutputLayer>(ErrorText, noOutputText);
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer)
    if (Config.HasLayer(layer)) LayerSources[layer] = new NxBaseLayer::SourceData();
  CheckNetworkSize();
  InitLayers();
  TSize in = Config.GetLayerSize(0);
  TSize out = Config.GetLayerSize(1);
  NumInputs = unsigned(in.cx) * unsigned(in.cy);
  NumOutputs = unsigned(out.cx) * unsigned(out.cy);
  SetupStandardLearning(2.5);
}

// Every target node holds one weight per cell of each receptive field that
// feeds it, so the product bounds the memory the network will take.
void NxNeuralBase::CheckNetworkSize() const {
  uint64_t connections = 0;
  for (unsigned target = 0; target < MAX_LAYERS; ++target) {
    if (!Config.HasLayer(target)) continue;
    const uint64_t nodes = Cells(Config.GetLayerSize(target));
    if (nodes > MAX_LAYER_NODES)
      throw XCNetworkTooLarge("LAYER " + std::to_string(target) + " has " + std::to_string(nodes) +
                              " nodes; a layer may hold at most " + std::to_string(MAX_LAYER_NODES) + " nodes.");
    for (unsigned source = 0; source < MAX_LAYERS; ++source)
      if (const NxOverlapPattern* mapping = Config.GetMapping(source, target))
        connections += nodes * Cells(mapping->Size());
    if (connections > MAX_CONNECTIONS)
      throw XCNetworkTooLarge("The connections into LAYER " + std::to_string(target) + " bring the network to " +
                              std::to_string(connections) + " connections; a network may hold at most " +
                              std::to_string(MAX_CONNECTIONS) + " connections.");
  }
}

void NxNeuralBase::DropInvalidConnections(const char* layer0Warning) {
  for (unsigned source = 0; source < MAX_LAYERS; ++source)
    if (RemoveIfMapped(Config, source, 0)) Warn(layer0Warning, source);
  for (unsigned target = 0; target < MAX_LAYERS; ++target)
    if (RemoveIfMapped(Config, 1, target))
      Warn("Output LAYER 1 has LAYER %u as a target.\n\t\t\t\t\nConnection will be ignored.", target);
}

void NxNeuralBase::DropLayersWithoutSources() {
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer) {
    bool hasSources = false;
    for (unsigned source = 0; source < MAX_LAYERS; ++source) hasSources |= Config.GetMapping(source, layer) != nullptr;
    if (Config.HasLayer(layer) && !hasSources) {
      Config.RemoveLayer(layer);
      Warn("LAYER %u has no sources.  Layer wili be ignored.", layer);
    } else if (!Config.HasLayer(layer) && hasSources) {
      for (unsigned source = 0; source < MAX_LAYERS; ++source)
        if (RemoveIfMapped(Config, source, layer))
          Warn("Source LAYER %u specifies undeclared target\n\t\t\t\t\nLAYER %u.  Specification will be ignored.",
               source, layer);
    }
  }
}

// Layer 0 first, then every layer whose sources all exist, pass after pass.
// The order in which sources are appended fixes the order of every node's
// weights, and so the weights-file layout.
void NxNeuralBase::CreateLayers(const LayerFactory& factory) {
  auto appendTargets = [this](unsigned layer, unsigned firstTarget) {
    for (unsigned target = firstTarget; target < MAX_LAYERS; ++target)
      if (const NxOverlapPattern* mapping = Config.GetMapping(layer, target))
        if (LayerSources[target]) LayerSources[target]->Add(Layers[layer], *mapping);
  };
  NxBaseLayer::SourceData none;
  Layers[0] = factory.input(Config.GetLayerSize(0), none);
  appendTargets(0, 0);

  bool created = true;
  while (created) {
    created = false;
    for (unsigned layer = 1; layer < MAX_LAYERS; ++layer) {
      if (!Config.HasLayer(layer) || Layers[layer]) continue;
      bool ready = true;
      for (unsigned source = 0; source < MAX_LAYERS && ready; ++source)
        if (Config.GetMapping(source, layer) && !Layers[source]) ready = false;
      if (!ready) continue;
      const NxBaseLayer::SourceData& sources = *LayerSources[layer];
      TSize size = Config.GetLayerSize(layer);
      NODETYPE type = Config.GetLayerNodeType(layer);
      Layers[layer] = layer == 1 ? factory.output(size, type, sources) : factory.hidden(layer, size, type, sources);
      appendTargets(layer, 1);
      created = true;
    }
  }

  std::string stuck;
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer)
    if (Config.HasLayer(layer) && !Layers[layer]) stuck += (stuck.empty() ? "" : ", ") + std::to_string(layer);
  if (!stuck.empty())
    Refuse<XCLayerCycle>(ErrorText, "LAYER " + stuck +
                                        " cannot be built: the layers feed one another in a cycle or depend on a "
                                        "layer that is not built.");
}

unsigned NxNeuralBase::GetNumInputs() const { return NumInputs; }

unsigned NxNeuralBase::GetNumOutputs() const { return NumOutputs; }

unsigned NxNeuralBase::GetTrainingStatus() const { return TrainingStatus; }

bool NxNeuralBase::WriteWeights(NxFile& file, VERSIONFLAG version) {
  if (version != VERSION_0 && version != VERSION_1) return false;
  uint32_t id = version == VERSION_0 ? 1u : WeightSetId;
  nx_weights::Record header;
  header.PutUint32(id);
  if (!header.WriteTo(file)) return false;
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer)
    if (Layers[layer] && !Layers[layer]->SaveWeights(file, id)) return false;
  return true;
}

// The new weights replace the file only once they are complete and on
// disk; every message names the caller's file, never the temporary one.
bool NxNeuralBase::WriteWeights(const char* fileName, VERSIONFLAG version) {
  if (version != VERSION_0 && version != VERSION_1) return false;
  NxSafeSave save(fileName);
  if (!save.Opened()) throw XCFileBad(fileName, save.Problem());
  NxFile file(fileName, save.GetStream(), "wb");
  const bool written = WriteWeights(file, version);
  file.FClose();
  return written && save.Commit();
}

// A refusal says why in the error text; the layer's records are read again
// for it, since the nodes' check only answers yes or no.
bool NxNeuralBase::ReadWeights(NxFile& file) {
  uint32_t id;
  if (!nx_weights::ReadUint32(file, id)) {
    std::snprintf(ErrorText, TEXT_SIZE, "the weights file %s is too short to hold a network",
                  file.GetFileName().c_str());
    return false;
  }
  WeightSetId = id;
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer) {
    if (!Layers[layer]) continue;
    const long start = file.FTell();
    if (Layers[layer]->TestFileWeights(file, id)) continue;
    const std::string reason = start >= 0 && file.FSeek(start, 0) == 0
                                   ? nx_weights::DiagnoseLayer(file, *Layers[layer], layer)
                                   : "LAYER " + std::to_string(layer) + " does not fit the file";
    std::snprintf(ErrorText, TEXT_SIZE, "%s", reason.c_str());
    return false;
  }
  CallLayers(1, &NxBaseLayer::AcceptFileWeights);
  return true;
}

bool NxNeuralBase::ReadWeights(const char* fileName) {
  NxFile file(fileName, "rb", true);
  bool accepted = ReadWeights(file);
  file.FClose();
  return accepted;
}

void NxNeuralBase::SetGlobalLearningRate(double rate) { CallLayers(0, &NxBaseLayer::SetCustomLearningRate, rate); }

void NxNeuralBase::SetAutoScaling(unsigned layer, bool on) {
  if (GetLayer(layer)) Layers[layer]->SetAutoScaling(on);
}

void NxNeuralBase::SetupStandardLearning(double rate) {
  for (unsigned layer = 1; layer < MAX_LAYERS; ++layer) {
    if (!Layers[layer]) continue;
    Layers[layer]->SetupStandardLearning(rate);
    Layers[layer]->SetNoiseLevel(IsSmoothType(Config.GetLayerNodeType(layer)) ? 0.001 : 0.4);
  }
}

void NxNeuralBase::SetCustomLearningRate(unsigned layer, double rate) {
  if (GetLayer(layer)) Layers[layer]->SetCustomLearningRate(rate);
}

void NxNeuralBase::AddNoise() { CallLayers(1, &NxBaseLayer::AddNoise); }

void NxNeuralBase::SetNoiseLevel(double noise) { CallLayers(0, &NxBaseLayer::SetNoiseLevel, noise); }

void NxNeuralBase::CustomizeInitialWeights(unsigned layer, double range) {
  if (GetLayer(layer)) Layers[layer]->CustomizeInitialWeights(range);
}

void NxNeuralBase::ScaleLearningRates(double factor) { CallLayers(1, &NxBaseLayer::ScaleLearningRates, factor); }

void NxNeuralBase::WarnMessage() { NxShowWarning("Neural Network Warning", WarningText); }

void DeleteNet(NxNeuralBase* net) { delete net; }
