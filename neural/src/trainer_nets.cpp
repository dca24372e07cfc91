// Networks made for the checked layer, and the checked calls on them.
#include <string>

#include "neural/seed.h"
#include "neural/trainer.h"

namespace nx {

void NetDeleter::operator()(NxNeuralBase* net) const noexcept { DeleteNet(net); }

namespace {

// Inputs are layer 0 and outputs layer 1, so the k-th size of a chain goes
// to layer 0, 2, 3, ..., 1.
unsigned ChainLayer(size_t position, size_t count) {
  if (position == 0) return 0;
  if (position + 1 == count) return 1;
  return static_cast<unsigned>(position + 1);
}

void CheckCount(const std::string& what, size_t expected, size_t found) {
  if (expected != found) throw XCSizeMismatch(what, expected, found);
}

}  // namespace

XCSizeMismatch::XCSizeMismatch(const std::string& what, size_t expected, size_t found)
    : XCBase("expected " + std::to_string(expected) + " " + what + ", found " + std::to_string(found)),
      Expected(expected),
      Found(found) {}

void ConnectFully(NxNeuralBase::ConfigData& config, unsigned source, unsigned target) {
  // A field the size of the whole source layer that never moves.
  config.AddMapping(source, target, config.GetLayerSize(source), TSize{0, 0}, TSize{0, 0}, 0);
}

NxNeuralBase::ConfigData ChainConfig(const std::vector<unsigned>& sizes, NODETYPE hidden, NODETYPE output) {
  if (sizes.size() < 2 || sizes.size() > NxNeuralBase::MAX_LAYERS)
    throw XCBase("a chain of layers needs 2 to " + std::to_string(NxNeuralBase::MAX_LAYERS) + " sizes, not " +
                 std::to_string(sizes.size()));
  NxNeuralBase::ConfigData config;
  for (size_t k = 0; k < sizes.size(); ++k) {
    if (sizes[k] == 0 || sizes[k] > NxNeuralBase::MAX_LAYER_NODES)
      throw XCBase("layer size " + std::to_string(k + 1) + " is " + std::to_string(sizes[k]) + ", not 1 to " +
                   std::to_string(NxNeuralBase::MAX_LAYER_NODES));
    const NODETYPE type = k == 0 ? SIGMOID : k + 1 == sizes.size() ? output : hidden;
    config.AddLayer(ChainLayer(k, sizes.size()), TSize{static_cast<int>(sizes[k]), 1}, type);
  }
  for (size_t k = 0; k + 1 < sizes.size(); ++k)
    ConnectFully(config, ChainLayer(k, sizes.size()), ChainLayer(k + 1, sizes.size()));
  return config;
}

BackPropNet MakeBackPropNet(const NxNeuralBase::ConfigData& config) { return BackPropNet(new NxNeuralNet(config)); }

BackPropNet MakeBackPropNet(const std::vector<unsigned>& sizes, const NetOptions& options) {
  NxNeuralBase::ConfigData config = ChainConfig(sizes, options.Hidden, options.Output);
  if (options.Seed != 0) NxFixRandomSeed(options.Seed);
  return MakeBackPropNet(config);
}

BackPropNet LoadBackPropNet(const std::string& fileName) { return BackPropNet(new NxNeuralNet(fileName.c_str())); }

TempDiffNet MakeTempDiffNet(const std::vector<unsigned>& sizes, double persistence, const NetOptions& options) {
  if (!(persistence >= 0 && persistence <= 1))
    throw XCBase("persistence must lie from 0 to 1, not " + std::to_string(persistence));
  NxNeuralBase::ConfigData config = ChainConfig(sizes, options.Hidden, options.Output);
  if (options.Seed != 0) NxFixRandomSeed(options.Seed);
  return TempDiffNet(new NxTemporalDifferenceNet(config, persistence));
}

std::span<const double> Propagate(NxNeuralNet& net, std::span<const double> inputs) {
  CheckCount("inputs", net.GetNumInputs(), inputs.size());
  // The library reads the inputs and never writes them.
  const double* outputs = net.Propagate(const_cast<double*>(inputs.data()));
  return {outputs, net.GetNumOutputs()};
}

std::span<const double> Observe(NxTemporalDifferenceNet& net, std::span<const double> inputs, bool train,
                                bool newSequence) {
  CheckCount("inputs", net.GetNumInputs(), inputs.size());
  const double* outputs = net.GetOutput(const_cast<double*>(inputs.data()), train, newSequence);
  return {outputs, net.GetNumOutputs()};
}

void TrainOnOutcomes(NxTemporalDifferenceNet& net, std::span<const double> outcomes) {
  CheckCount("outcomes", net.GetNumOutputs(), outcomes.size());
  net.TrainOnOutcomes(const_cast<double*>(outcomes.data()));
}

}  // namespace nx
