#pragma once

/// @file layer.h
/// @brief NxBaseLayer, the grid of nodes both network kinds build their
/// layers from.

#include "neural/export.h"
#include "neural/node.h"
#include "neural/pattern.h"
#include "neural/support.h"
#include "neural/types.h"

class NxFile;

/// A two-dimensional grid of nodes. The inherited layout holds the node type
/// of every position, so one layer can mix types.
///
/// A layer owns its nodes, which the subclass's InitNodes() creates from
/// the constructor; node (x, y) is node y * cx + x. The settings below
/// apply to every node of the layer. Networks create and own their layers
/// (NxNeuralBase::GetLayer()).
class NX_EXPORT NxBaseLayer : public NxPattern {
 public:
  /// The layers feeding a layer, each with the receptive-field mapping it
  /// feeds through. Entry i of both arrays belongs together.
  class NX_EXPORT SourceData {
   public:
    /// No sources.
    SourceData();
    /// Copies share the source layers (which no SourceData owns) and copy
    /// the mappings.
    ///@{
    SourceData(const SourceData& other);
    SourceData& operator=(const SourceData& other);
    ///@}
    virtual ~SourceData();

    /// Appends a source layer (not owned) with a copy of its mapping.
    void Add(NxBaseLayer* layer, const NxOverlapPattern& pattern);

    NxPtrArray<NxBaseLayer> SourceLayers;      ///< the source layers, not owned
    NxArray<NxOverlapPattern> SourcePatterns;  ///< the mapping of each source layer
    unsigned NumSources;                       ///< entries of both arrays
  };

  /// A layer of `size` nodes of one type, fed by `sources` (copied; the
  /// source layers must outlive this one). Layer numbers follow the
  /// network's: 0 input, 1 output, 2 to 15 hidden. The type must be at most
  /// MAJORITY (NX_CHECK).
  NxBaseLayer(unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType, const SourceData& sources);
  /// A layer whose node types are given per position by `types` (NODETYPE
  /// values in a grid of `size`).
  NxBaseLayer(unsigned layerNumber, const TSize& size, const NxPattern& types, LAYERTYPE layerType,
              const SourceData& sources);
  /// Deletes the nodes.
  ~NxBaseLayer() override;

  /// Every node's NxNode::SetupStandardLearning().
  virtual void SetupStandardLearning(double rate);
  /// Every node's NxNode::ScaleLearningRate(), x from 0 to 1.
  virtual void ScaleLearningRates(double x);
  /// One learning rate for every node, as NxNode::SetLearningRate().
  virtual void SetCustomLearningRate(double rate);
  /// One momentum for every node, clamped to 0..1.
  virtual void SetMomentum(double momentum);
  /// One noise level for every node, clamped to 0..1.
  virtual void SetNoiseLevel(double noise);
  /// Marks whether NxNeuralNet::AutoScaleRates() rescales this layer's
  /// rates; the nodes are not touched.
  virtual void SetAutoScaling(bool on);
  /// Every node's NxNode::AddNoise().
  virtual void AddNoise();
  /// Appends every node's record to a weights file, in node order; false as
  /// soon as one could not be written.
  virtual bool SaveWeights(NxFile& file, unsigned long id);
  /// Reads and checks every node's record, as NxNode::TestFileWeights();
  /// false at the first that does not fit, with the file left after it.
  virtual bool TestFileWeights(NxFile& file, unsigned long id);
  /// Every node takes the weights TestFileWeights() read.
  virtual void AcceptFileWeights();
  /// Draws every node's weights anew within +-range, as
  /// NxNode::InitializeWeights().
  virtual void CustomizeInitialWeights(double range);
  /// The node at `position`, or nullptr outside the grid.
  virtual NxNode* GetNode(TPoint& position);
  /// Creates the layer's nodes, wired to their sources; each subclass makes
  /// its own kind, once, from its constructor.
  virtual void InitNodes() = 0;
  /// Replaces `list`'s contents with the sources of the node at `position`,
  /// in the order of its weights: source layer by source layer, then the
  /// field's rows and columns. Cells outside a source layer are left out.
  virtual void FillSourceNodes(NxPtrArray<NxNode>& list, TPoint& position);
  /// Checks that every mapping's fields stay inside its source layer
  /// (mappings that skip validation excepted); always true for an input
  /// layer.
  /// @throws XCLayerMismap when the last field would end past the source
  /// layer, XCLayerOffset for a negative offset. Returns true otherwise.
  virtual bool ValidateSourcePatterns();
  /// Whether the input layer has a pattern that the outputs have not taken
  /// up yet; other layers ask their first source.
  virtual bool IsNewInput() const;
  /// Clears that mark at the input layer.
  virtual void ClearInputFlag();

  unsigned GetNumNodes() const { return Nodes.GetNumElements(); }  ///< cx * cy, once the nodes exist
  NxNode* GetNodeAt(unsigned index) const { return Nodes[index]; }  ///< node `index`, owned by the layer
  unsigned GetLayerNumber() const { return LayerNumber; }  ///< 0 input, 1 output, 2 to 15 hidden
  LAYERTYPE GetLayerType() const { return LayerType; }     ///< input, hidden or output
  bool IsAutoScaling() const { return AutoScaling; }       ///< see SetAutoScaling()
  const SourceData& GetSources() const { return Sources; }  ///< the layers feeding this one

 protected:
  /// The number of nodes created so far.
  unsigned NodeCount() const;
  /// Wires and creates the nodes of a hidden or output layer, row by row,
  /// each a `Node` made from its sources, its type and `extra`.
  template <class Node, class... Extra>
  void BuildWiredNodes(Extra... extra) {
    ValidateSourcePatterns();
    NxPtrArray<NxNode> sources(0, 10, false);
    for (int32_t y = 0; y < Dimensions.cy; ++y) {
      for (int32_t x = 0; x < Dimensions.cx; ++x) {
        TPoint position{x, y};
        FillSourceNodes(sources, position);
        Nodes.Add(new Node(sources, static_cast<NODETYPE>(GetLayoutValue(position)), extra...));
      }
    }
  }
  /// Calls `call` with `args` on every node, in node order; the nodes are
  /// all of the class that declares `call`.
  template <class Node, class... Params, class... Args>
  void CallNodes(void (Node::*call)(Params...), Args... args) {
    for (unsigned i = 0; i < NodeCount(); ++i) (static_cast<Node*>(Nodes[i])->*call)(args...);
  }

  SourceData Sources;        ///< the layers feeding this one
  NxPtrArray<NxNode> Nodes;  ///< the nodes, owned, row by row
  LAYERTYPE LayerType;       ///< input, hidden or output
  unsigned LayerNumber;      ///< the layer's number in its network
  bool AutoScaling;          ///< see SetAutoScaling()
};
