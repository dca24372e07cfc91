#pragma once

#include "neural/export.h"
#include "neural/node.h"
#include "neural/pattern.h"
#include "neural/support.h"
#include "neural/types.h"

class NxFile;

/// A two-dimensional grid of nodes. The inherited layout holds the node type
/// of every position, so one layer can mix types.
class NX_EXPORT NxBaseLayer : public NxPattern {
 public:
  /// The layers feeding a layer, each with the receptive-field mapping it
  /// feeds through. Entry i of both arrays belongs together.
  class NX_EXPORT SourceData {
   public:
    SourceData();
    SourceData(const SourceData& other);
    SourceData& operator=(const SourceData& other);
    virtual ~SourceData();

    void Add(NxBaseLayer* layer, const NxOverlapPattern& pattern);

    NxPtrArray<NxBaseLayer> SourceLayers;
    NxArray<NxOverlapPattern> SourcePatterns;
    unsigned NumSources;
  };

  NxBaseLayer(unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType, const SourceData& sources);
  NxBaseLayer(unsigned layerNumber, const TSize& size, const NxPattern& types, LAYERTYPE layerType,
              const SourceData& sources);
  ~NxBaseLayer() override;

  virtual void SetupStandardLearning(double rate);
  virtual void ScaleLearningRates(double x);
  virtual void SetCustomLearningRate(double rate);
  virtual void SetMomentum(double momentum);
  virtual void SetNoiseLevel(double noise);
  virtual void SetAutoScaling(bool on);
  virtual void AddNoise();
  virtual bool SaveWeights(NxFile& file, unsigned long id);
  virtual bool TestFileWeights(NxFile& file, unsigned long id);
  virtual void AcceptFileWeights();
  virtual void CustomizeInitialWeights(double range);
  virtual NxNode* GetNode(TPoint& position);
  virtual void InitNodes() = 0;
  virtual void FillSourceNodes(NxPtrArray<NxNode>& list, TPoint& position);
  virtual bool ValidateSourcePatterns();
  virtual bool IsNewInput() const;
  virtual void ClearInputFlag();

  unsigned GetNumNodes() const { return Nodes.GetNumElements(); }
  NxNode* GetNodeAt(unsigned index) const { return Nodes[index]; }
  unsigned GetLayerNumber() const { return LayerNumber; }
  LAYERTYPE GetLayerType() const { return LayerType; }
  bool IsAutoScaling() const { return AutoScaling; }
  const SourceData& GetSources() const { return Sources; }

 protected:
  unsigned NodeCount() const;
  /// Wires and creates the nodes of a hidden or output layer, row by row;
  /// makeNode(sources, type) creates one node of the layer's class.
  template <class MakeNode>
  void BuildWiredNodes(MakeNode makeNode) {
    ValidateSourcePatterns();
    NxPtrArray<NxNode> sources(0, 10, false);
    for (int32_t y = 0; y < Dimensions.cy; ++y) {
      for (int32_t x = 0; x < Dimensions.cx; ++x) {
        TPoint position{x, y};
        FillSourceNodes(sources, position);
        Nodes.Add(makeNode(sources, static_cast<NODETYPE>(GetLayoutValue(position))));
      }
    }
  }

  SourceData Sources;
  NxPtrArray<NxNode> Nodes;
  LAYERTYPE LayerType;
  unsigned LayerNumber;
  bool AutoScaling;
};
