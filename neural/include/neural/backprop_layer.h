#pragma once

/// @file backprop_layer.h
/// @brief The layers of back-propagation networks: hidden, input and output.

#include "neural/layer.h"
#include "neural/node.h"

/// Errors of the output layer against its targets over one presentation.
/// An empty layer counts as exact: all three are 0.
struct NxErrorTotals {
  double MaxError = 0;  ///< the largest |target - output|
  double MeanAbsError = 0;  ///< the mean of |target - output| over the outputs
  double MeanSquareError = 0;  ///< the mean of (target - output) squared
};

/// A hidden layer of a back-propagation network.
/// Also the base of the input and output layers.
class NX_EXPORT NxBackPropLayer : public NxBaseLayer {
 public:
  /// Creates the layer with its nodes wired to `sources`.
  /// @throws XCLayerMismap or XCLayerOffset for a mapping that does not fit
  /// its source layer, and what NxNode's constructor throws.
  NxBackPropLayer(unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType,
                  const SourceData& sources);

  /// Creates one NxNode per position, after ValidateSourcePatterns().
  void InitNodes() override;
  /// Every node's NxNode::SetTrainByEpoch().
  virtual void SetTrainByEpoch(bool byEpoch);
  /// Every node applies the changes it accumulated over the epoch.
  virtual void UpdateEpochWeights();

 protected:
  /// For the input and output layers, which build their own nodes once their
  /// own fields exist.
  struct DeferNodes {};
  /// The layer without nodes; the subclass calls its own InitNodes().
  NxBackPropLayer(DeferNodes, unsigned layerNumber, const TSize& size, NODETYPE type, LAYERTYPE layerType,
                  const SourceData& sources);
};

/// Layer 0 of a back-propagation network: one NxInputNode per position, set
/// a pattern at a time.
class NX_EXPORT NxBackPropInputLayer : public NxBackPropLayer {
 public:
  /// Layer 0 of `size` input nodes. The nodes are input nodes whatever `type`
  /// says; an input layer has no sources.
  NxBackPropInputLayer(const TSize& size, NODETYPE type, const SourceData& sources);

  /// Creates one NxInputNode per position.
  void InitNodes() override;
  /// Whether SetInputValues() was called since the last ClearInputFlag().
  bool IsNewInput() const override;
  /// The output layer clears the mark once it has taken the pattern up.
  void ClearInputFlag() override;
  /// Inputs have no tolerance; kept so both end layers answer the same call.
  virtual void SetOutputTolerance(double tolerance);
  /// Sets every input node from GetNumNodes() values (not checked) and marks
  /// a new pattern; only nodes whose value changed make what they feed stale.
  virtual void SetInputValues(double* values);

 private:
  friend class NxBackPropPlan;
  bool NewInput = false;
};

/// Layer 1 of a back-propagation network: one NxOutputNode per position.
/// The output tolerance, 0.00001 to begin with, is the largest
/// |target - output| counted as right; training skips patterns within it.
class NX_EXPORT NxBackPropOutputLayer : public NxBackPropLayer {
 public:
  /// Creates the layer with its nodes wired to `sources`; throws as
  /// NxBackPropLayer's constructor does.
  NxBackPropOutputLayer(const TSize& size, NODETYPE type, const SourceData& sources);

  /// Creates one NxOutputNode per position, after ValidateSourcePatterns().
  void InitNodes() override;
  /// The largest accepted |target - output|, used as given.
  virtual void SetOutputTolerance(double tolerance);
  /// Sets every node's target from GetNumNodes() values (not checked);
  /// clamped to 0..1 except for LINEAR nodes.
  virtual void SetOutputValues(double* targets);
  /// Whether some output is farther than the tolerance from `targets`. When a
  /// new pattern is waiting, the targets are set and the outputs computed
  /// first; otherwise the outputs last computed are compared.
  virtual bool OutputIsDifferent(double* targets);
  /// The same against the targets SetOutputValues() set, computing the outputs first when stale.
  virtual bool OutputIsDifferent();
  /// The outputs, GetNumNodes() values, recomputed when a new pattern is
  /// waiting. The array belongs to the layer and keeps its address for the
  /// layer's life; its values change with the next pattern.
  virtual double* GetOutput();
  /// Errors of the outputs (computed first when stale) against `targets`, or
  /// without an argument against the targets SetOutputValues() set: the mean
  /// absolute error, the mean squared error, or all of NxErrorTotals.
  ///@{
  virtual double GetAverageError(double* targets);
  virtual double GetAverageError();
  virtual double GetMeanSquareError(double* targets);
  virtual double GetMeanSquareError();
  virtual NxErrorTotals GetTotalError(double* targets);
  virtual NxErrorTotals GetTotalError();
  ///@}
  /// The mean of the output nodes' automatic-rate scale values (see
  /// NxNode::GetScaleValue()): the error the automatic rates track; 0 without
  /// them.
  virtual double GetTrackedError();
  /// One training step on the current pattern: when some output is beyond the
  /// tolerance, sets the targets and trains every node back from the outputs
  /// (NxNode::Train()); otherwise nothing changes. Set the inputs first.
  virtual void Train(double* targets);
  /// The same against the targets SetOutputValues() set.
  virtual void Train();
  /// Every output node's NxNode::ResetFlags(), which reaches the nodes feeding them.
  virtual void ResetNodeFlags();

  double GetOutputTolerance() const { return OutputTolerance; }  ///< see SetOutputTolerance()

 private:
  /// The training loop has asked OutputIsDifferent() already and trains the
  /// nodes without asking again.
  friend class NxNeuralNet;
  friend class NxBackPropPlan;
  NxOutputNode* OutputNode(unsigned index) const { return static_cast<NxOutputNode*>(Nodes[index]); }
  /// Per node: target - output, from the given targets or the stored ones.
  double NodeError(unsigned index, const double* targets);
  NxErrorTotals Totals(const double* targets);
  bool AnyBeyondTolerance(const double* targets);
  void TrainNodes();

  NxArray<double> Outputs{0, 10};
  double OutputTolerance = 0.00001;
};
