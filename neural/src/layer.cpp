#include "neural/layer.h"

#include <cstdint>

#include "neural/check.h"
#include "neural/exceptions.h"

NxBaseLayer::SourceData::SourceData() : SourceLayers(0, 3, false), SourcePatterns(0, 3), NumSources(0) {}

NxBaseLayer::SourceData::SourceData(const SourceData& other) : SourceData() { *this = other; }

NxBaseLayer::SourceData& NxBaseLayer::SourceData::operator=(const SourceData& other) {
  if (this == &other) return *this;
  SourceLayers.Flush(false);
  for (unsigned i = 0; i < other.SourceLayers.GetNumElements(); ++i) SourceLayers.Add(other.SourceLayers[i]);
  SourcePatterns = other.SourcePatterns;
  NumSources = other.NumSources;
  return *this;
}

NxBaseLayer::SourceData::~SourceData() = default;

void NxBaseLayer::SourceData::Add(NxBaseLayer* layer, const NxOverlapPattern& pattern) {
  SourceLayers.Add(layer);
  SourcePatterns.Add(pattern);
  ++NumSources;
}

namespace {

unsigned GridCount(const TSize& size) {
  NX_CHECK(size.cx >= 0 && size.cy >= 0);
  return static_cast<unsigned>(size.cx) * static_cast<unsigned>(size.cy);
}

}  // namespace

NxBaseLayer::NxBaseLayer(unsigned layerNumber, const TSize& size, NODETYPE nodeType, LAYERTYPE layerType,
                         const SourceData& sources)
    : NxPattern(size, static_cast<unsigned>(nodeType)), Sources(sources), Nodes(GridCount(size), 10, true),
      LayerType(layerType), LayerNumber(layerNumber), AutoScaling(false) {
  NX_CHECK(nodeType <= MAJORITY);
}

NxBaseLayer::NxBaseLayer(unsigned layerNumber, const TSize& size, const NxPattern& types, LAYERTYPE layerType,
                         const SourceData& sources)
    : NxPattern(size, types), Sources(sources), Nodes(GridCount(size), 10, true), LayerType(layerType),
      LayerNumber(layerNumber), AutoScaling(false) {}

NxBaseLayer::~NxBaseLayer() = default;

unsigned NxBaseLayer::NodeCount() const { return Nodes.GetNumElements(); }

void NxBaseLayer::SetupStandardLearning(double rate) { CallNodes(&NxNode::SetupStandardLearning, rate); }

void NxBaseLayer::ScaleLearningRates(double x) { CallNodes(&NxNode::ScaleLearningRate, x); }

void NxBaseLayer::SetCustomLearningRate(double rate) { CallNodes(&NxNode::SetLearningRate, rate); }

void NxBaseLayer::SetMomentum(double momentum) { CallNodes(&NxNode::SetMomentum, momentum); }

void NxBaseLayer::SetNoiseLevel(double noise) { CallNodes(&NxNode::SetNoiseLevel, noise); }

void NxBaseLayer::SetAutoScaling(bool on) { AutoScaling = on; }

void NxBaseLayer::AddNoise() { CallNodes(&NxNode::AddNoise); }

bool NxBaseLayer::SaveWeights(NxFile& file, unsigned long id) {
  for (unsigned i = 0; i < NodeCount(); ++i)
    if (!Nodes[i]->SaveWeights(file, id)) return false;
  return true;
}

bool NxBaseLayer::TestFileWeights(NxFile& file, unsigned long id) {
  for (unsigned i = 0; i < NodeCount(); ++i)
    if (!Nodes[i]->TestFileWeights(file, id)) return false;
  return true;
}

void NxBaseLayer::AcceptFileWeights() { CallNodes(&NxNode::AcceptFileWeights); }

void NxBaseLayer::CustomizeInitialWeights(double range) { CallNodes(&NxNode::InitializeWeights, range); }

NxNode* NxBaseLayer::GetNode(TPoint& position) {
  if (position.x < 0 || position.y < 0 || position.x >= Dimensions.cx || position.y >= Dimensions.cy) return nullptr;
  unsigned index = static_cast<unsigned>(position.y) * Dimensions.cx + position.x;
  return index < Nodes.GetNumElements() ? Nodes[index] : nullptr;
}

// The order of the list (source entries, then field rows, then columns) is
// the order of the node's weights, and so of the weights file.
void NxBaseLayer::FillSourceNodes(NxPtrArray<NxNode>& list, TPoint& position) {
  list.Flush(false);
  for (unsigned i = 0; i < Sources.NumSources; ++i) {
    const NxOverlapPattern& pattern = Sources.SourcePatterns[i];
    NxBaseLayer* sourceLayer = Sources.SourceLayers[i];
    TSize size = pattern.Size();
    TSize step = pattern.GetStep();
    TSize offset = pattern.GetOffset();
    int64_t startX = int64_t(position.x) * step.cx + offset.cx;
    int64_t startY = int64_t(position.y) * step.cy + offset.cy;
    for (int32_t v = 0; v < size.cy; ++v) {
      for (int32_t u = 0; u < size.cx; ++u) {
        if (pattern.GetLayoutValue(unsigned(u), unsigned(v)) == 0) continue;
        int64_t x = startX + u;
        int64_t y = startY + v;
        if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) continue;
        TPoint at{static_cast<int32_t>(x), static_cast<int32_t>(y)};
        NxNode* node = sourceLayer->GetNode(at);
        if (!node) continue;
        // Doubling the room keeps a very wide window linear to gather.
        if (list.GetNumElements() == list.GetCapacity()) list.Reallocate(2 * list.GetNumElements());
        list.Add(node);
      }
    }
  }
}

// The last receptive field along each axis must end inside the source layer.
bool NxBaseLayer::ValidateSourcePatterns() {
  if (LayerType == INPUT_LAYER) return true;
  for (unsigned i = 0; i < Sources.NumSources; ++i) {
    const NxOverlapPattern& pattern = Sources.SourcePatterns[i];
    if (pattern.GetSkipValidation() != 0) continue;
    const TSize& source = Sources.SourceLayers[i]->Size();
    unsigned sourceNumber = Sources.SourceLayers[i]->GetLayerNumber();
    TSize size = pattern.Size();
    TSize step = pattern.GetStep();
    TSize offset = pattern.GetOffset();
    if (int64_t(source.cx) - size.cx - offset.cx < (int64_t(Dimensions.cx) - 1) * step.cx)
      throw XCLayerMismap(LayerNumber, sourceNumber, "X");
    if (offset.cx < 0) throw XCLayerOffset(LayerNumber, sourceNumber, "X");
    if (int64_t(source.cy) - size.cy - offset.cy < (int64_t(Dimensions.cy) - 1) * step.cy)
      throw XCLayerMismap(LayerNumber, sourceNumber, "Y");
    if (offset.cy < 0) throw XCLayerOffset(LayerNumber, sourceNumber, "Y");
  }
  return true;
}

bool NxBaseLayer::IsNewInput() const {
  return Sources.NumSources > 0 && Sources.SourceLayers[0]->IsNewInput();
}

void NxBaseLayer::ClearInputFlag() {
  if (Sources.NumSources > 0) Sources.SourceLayers[0]->ClearInputFlag();
}
