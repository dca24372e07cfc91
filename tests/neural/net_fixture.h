#pragma once

#include <memory>
#include <vector>

#include "neural/net.h"
#include "neural/seed.h"
#include "neural/td_layer.h"

// Networks made by the library are destroyed by it.
struct NetDeleter {
  void operator()(NxNeuralBase* net) const { DeleteNet(net); }
};
using NetPtr = std::unique_ptr<NxNeuralBase, NetDeleter>;

inline NxTemporalDifferenceNet* AsTD(const NetPtr& net) { return static_cast<NxTemporalDifferenceNet*>(net.get()); }

// inputs (cx x cy) fully connected to outputs of the given type.
inline NxNeuralBase::ConfigData TwoLayerConfig(TSize inputs, TSize outputs, NODETYPE type = SIGMOID) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, inputs, SIGMOID);
  config.AddLayer(1, outputs, type);
  config.AddMapping(0, 1, inputs, {0, 0}, {0, 0}, 0);
  return config;
}

// Every weight of layers 1..15, in weights-file order.
inline std::vector<FP12_20> AllWeights(const NxNeuralBase& net) {
  std::vector<FP12_20> weights;
  for (unsigned layer = 1; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
    NxBaseLayer* l = net.GetLayer(layer);
    if (!l) continue;
    for (unsigned n = 0; n < l->GetNumNodes(); ++n)
      for (unsigned w = 0; w < l->GetNodeAt(n)->GetNumWeights(); ++w) weights.push_back(l->GetNodeAt(n)->GetWeight(w));
  }
  return weights;
}
