#pragma once

/// @file td_layer.h
/// @brief The layers of temporal-difference networks: hidden, input and output.

#include <memory>
#include <vector>

#include "neural/layer.h"
#include "neural/td_node.h"

class NxTDPlan;

/// A hidden layer of a temporal-difference network.
/// Also the base of the input and output layers.
class NX_EXPORT NxTempDiffLayer : public NxBaseLayer {
 public:
  /// Creates the layer with NxTDNode nodes wired to `sources`, each with the
  /// traces' `persistence` (lambda).
  /// @throws XCLayerMismap or XCLayerOffset for a mapping that does not fit
  /// its source layer, and what NxTDNode's constructor throws.
  NxTempDiffLayer(unsigned layerNumber, const TSize& size, NODETYPE type, double persistence, LAYERTYPE layerType,
                  const SourceData& sources);

  /// Creates one NxTDNode per position, after ValidateSourcePatterns().
  void InitNodes() override;
  /// Every node's NxNode::SetAutoRates(), each starting from its present
  /// scale value.
  virtual void SetAutoRates(bool on, unsigned period);

 protected:
  /// For the input and output layers, which build their own nodes.
  struct DeferNodes {};
  /// The layer without nodes; the subclass calls its own InitNodes().
  NxTempDiffLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type, double persistence,
                  LAYERTYPE layerType, const SourceData& sources);

  double Persistence;  ///< the persistence (lambda) given to new nodes
};

/// Layer 0 of a temporal-difference network: one NxTDInputNode per position.
class NX_EXPORT NxTempDiffInputLayer : public NxTempDiffLayer {
 public:
  /// Layer 0 of `size` input nodes; `type` and `persistence` play no part
  /// for input nodes, and an input layer has no sources.
  NxTempDiffInputLayer(const TSize& size, NODETYPE type, double persistence, const SourceData& sources);

  /// Creates one NxTDInputNode per position.
  void InitNodes() override;
  /// Whether SetInputValues() was called since the last ClearInputFlag().
  bool IsNewInput() const override;
  /// The output layer clears the mark once it has taken the observation up.
  void ClearInputFlag() override;
  /// Sets every input node from GetNumNodes() values (not checked) and marks
  /// a new observation.
  virtual void SetInputValues(double* values);

 private:
  bool NewInput = false;
};

/// Layer 1 of a temporal-difference network: one NxTDOutputNode per
/// position. It drives the steps of a sequence for the whole network.
class NX_EXPORT NxTempDiffOutputLayer : public NxTempDiffLayer {
 public:
  /// Creates the layer with its nodes wired to `sources`; throws as
  /// NxTempDiffLayer's constructor does.
  NxTempDiffOutputLayer(const TSize& size, NODETYPE type, double persistence, const SourceData& sources);
  ~NxTempDiffOutputLayer() override;

  /// Creates one NxTDOutputNode per position, after ValidateSourcePatterns().
  void InitNodes() override;
  /// The outputs for the inputs last set (recomputed when they are new),
  /// GetNumNodes() values; with `train`, also takes one step of the sequence
  /// (TrainOnDifferences()). The array belongs to the layer and keeps its
  /// address for the layer's life.
  virtual double* GetOutput(bool train);
  /// Starts a new sequence for every node the outputs depend on.
  virtual void InitObservationSequence();
  /// Ends the sequence with its outcomes, GetNumNodes() values (not
  /// checked): sets them as in SetTargetOutcomes() and trains every node on
  /// the sequence (NxTDNode::TrainOnOutcome()).
  virtual void TrainOnOutcomes(double* outcomes);
  /// Every output node's NxNode::ResetFlags(), which reaches the nodes feeding them.
  virtual void ResetNodeFlags();
  /// Sets each output node's final error from an outcome, as
  /// NxTDOutputNode::SetOutcomeDifference(); GetNumNodes() values.
  virtual void SetTargetOutcomes(double* outcomes);
  /// One step of the sequence for every node the outputs depend on
  /// (NxTDNode::UpdateTemporalDifferences()), from the outputs last computed.
  virtual void TrainOnDifferences();
  /// SetInputValues on the input layer followed by GetOutput, with the same
  /// results, in one pass over the nodes that depend on changed inputs.
  double* GetOutputFor(const double* inputs, bool train);

 private:
  NxTDOutputNode* OutputNode(unsigned index) const { return static_cast<NxTDOutputNode*>(Nodes[index]); }
  /// Every node the output nodes depend on, inputs excepted, laid out on
  /// first use; the wiring never changes afterwards.
  NxTDPlan& Plan();
  std::vector<NxNode*> InputNodes() const;

  NxArray<double> Outputs{0, 10};
  std::unique_ptr<NxTDPlan> TrainingPlan;
};
