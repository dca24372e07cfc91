#include "neural/check.h"
#include "neural/net.h"

using ConfigData = NxNeuralBase::ConfigData;

namespace {
constexpr unsigned SLOTS = NxNeuralBase::MAX_LAYERS * NxNeuralBase::MAX_LAYERS;
}

ConfigData::ConfigData() : Mappings(SLOTS, 0, true) {
  for (unsigned i = 0; i < MAX_LAYERS; ++i) {
    LayerPresent[i] = false;
    LayerNodeType[i] = SIGMOID;
    LayerSize[i] = TSize{0, 0};
  }
  for (unsigned i = 0; i < SLOTS; ++i) Mappings.Add(nullptr);
}

ConfigData::ConfigData(const ConfigData& other) : Mappings(SLOTS, 0, true) {
  for (unsigned i = 0; i < SLOTS; ++i) Mappings.Add(nullptr);
  CopyFrom(other);
}

ConfigData& ConfigData::operator=(const ConfigData& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

ConfigData::~ConfigData() = default;  // the owning mapping array deletes the mappings

void ConfigData::CopyFrom(const ConfigData& other) {
  for (unsigned i = 0; i < MAX_LAYERS; ++i) {
    LayerPresent[i] = other.LayerPresent[i];
    LayerNodeType[i] = other.LayerNodeType[i];
    LayerSize[i] = other.LayerSize[i];
  }
  for (unsigned i = 0; i < SLOTS; ++i) {
    delete Mappings[i];
    Mappings[i] = other.Mappings[i] ? new NxOverlapPattern(*other.Mappings[i]) : nullptr;
  }
}

unsigned ConfigData::Slot(unsigned source, unsigned target) {
  NX_CHECK(source < MAX_LAYERS && target < MAX_LAYERS);
  return target * MAX_LAYERS + source;
}

void ConfigData::AddLayer(unsigned layer, const TSize& size, NODETYPE type) {
  NX_CHECK(layer < MAX_LAYERS);
  LayerPresent[layer] = true;
  LayerSize[layer] = size;
  LayerNodeType[layer] = type;
}

void ConfigData::AddMapping(unsigned source, unsigned target, const TSize& patternSize, const TSize& step,
                            const TSize& offset, unsigned skipValidation) {
  unsigned slot = Slot(source, target);
  delete Mappings[slot];
  Mappings[slot] = new NxOverlapPattern(patternSize, 1u, step, offset, skipValidation);
}

void ConfigData::RemoveLayer(unsigned layer) {
  NX_CHECK(layer < MAX_LAYERS);
  LayerPresent[layer] = false;
}

void ConfigData::RemoveMapping(unsigned source, unsigned target) {
  unsigned slot = Slot(source, target);
  delete Mappings[slot];
  Mappings[slot] = nullptr;
}

bool ConfigData::HasLayer(unsigned layer) const {
  NX_CHECK(layer < MAX_LAYERS);
  return LayerPresent[layer];
}

NODETYPE ConfigData::GetLayerNodeType(unsigned layer) const {
  NX_CHECK(layer < MAX_LAYERS);
  return LayerNodeType[layer];
}

TSize ConfigData::GetLayerSize(unsigned layer) const {
  NX_CHECK(layer < MAX_LAYERS);
  return LayerSize[layer];
}

NxOverlapPattern* ConfigData::GetMapping(unsigned source, unsigned target) { return Mappings[Slot(source, target)]; }

const NxOverlapPattern* ConfigData::GetMapping(unsigned source, unsigned target) const {
  return Mappings[Slot(source, target)];
}
