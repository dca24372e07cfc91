#include <algorithm>

#include "neural/check.h"
#include "neural/net.h"

using ConfigData = NxNeuralBase::ConfigData;

constexpr unsigned SLOTS = NxNeuralBase::MAX_LAYERS * NxNeuralBase::MAX_LAYERS;

ConfigData::ConfigData() : Mappings(SLOTS, 0, true) {
  for (unsigned i = 0; i < SLOTS; ++i) Mappings.Add(nullptr);
}

ConfigData::ConfigData(const ConfigData& other) : ConfigData() { *this = other; }

ConfigData& ConfigData::operator=(const ConfigData& other) {
  if (this == &other) return *this;
  std::copy_n(other.LayerPresent, MAX_LAYERS, LayerPresent);
  std::copy_n(other.LayerNodeType, MAX_LAYERS, LayerNodeType);
  std::copy_n(other.LayerSize, MAX_LAYERS, LayerSize);
  for (unsigned i = 0; i < SLOTS; ++i) {
    delete Mappings[i];
    Mappings[i] = other.Mappings[i] ? new NxOverlapPattern(*other.Mappings[i]) : nullptr;
  }
  return *this;
}

ConfigData::~ConfigData() = default;  // the owning mapping array deletes the mappings

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
