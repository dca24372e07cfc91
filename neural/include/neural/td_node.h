#pragma once

/// @file td_node.h
/// @brief Nodes of temporal-difference networks: NxTDNode, with the input
/// and output nodes of that kind.

#include "neural/node.h"

/// A node of a temporal-difference network. During an observation sequence
/// each step decays and extends the per-weight eligibility traces and
/// accumulates weight changes; the weights change only when the outcome of
/// the sequence arrives.
///
/// Momentum and training by epoch play no part here. The network normally
/// drives these steps through its output layer (NxTempDiffOutputLayer).
class NX_EXPORT NxTDNode : public NxNode {
 public:
  /// As NxNode's constructor; `persistence` is the traces' decay per step
  /// (lambda), 0 to 1, used as given.
  /// @throws XCNodeSourceCast when a source is not an NxTDNode, besides what
  /// NxNode's constructor throws.
  NxTDNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence);

  /// Temporal-difference nodes never train by epoch: the argument is ignored.
  void SetTrainByEpoch(bool byEpoch) override;
  /// Smooth types get a rate of min(0.01, 0.1 / n) for n sources, with
  /// part of the rest of `rate` as the range of ScaleLearningRate(); other
  /// types a rate of 1. The momentum is left alone.
  void SetupStandardLearning(double rate) override;
  /// As NxNode::ScaleLearningRate(), with a smaller rate range and without
  /// touching the momentum.
  void ScaleLearningRate(double x) override;
  /// Also clears the traces and the previous output, and starts a sequence.
  void ResetTraining() override;

  /// Ends the sequence: the node's sources first, then the weights take the
  /// changes accumulated over the sequence, completed by the final error
  /// (set by NxTDOutputNode::SetOutcomeDifference() at the outputs). The
  /// traces start over. Runs once per ResetFlags() sweep.
  virtual void TrainOnOutcome();
  /// One step within a sequence, after the outputs for an observation were
  /// computed: the sources first, then the accumulated changes grow by the
  /// error times the traces, and the traces decay by the persistence and
  /// take the new gradient. Runs once per ResetFlags() sweep.
  virtual void UpdateTemporalDifferences();
  /// Sets the persistence (lambda), clamped to 0..1.
  virtual void SetTrainingPersistence(double persistence);
  /// The persistence (lambda), 0 to 1.
  virtual double GetPersistence();
  /// Starts a new sequence: clears the traces and the previous output, and
  /// those of the sources. The accumulated changes stay.
  virtual void InitObservationSequence();

  FP12_20 GetLastOutputValue() const { return LastOutput; }  ///< the output of the previous step (0 at a start)
  FP12_20 GetTrace(unsigned index) const { return Traces[index]; }  ///< the trace of weight `index`
  bool IsSequenceStart() const { return SequenceStart; }  ///< whether no step of the sequence has been taken

 protected:
  friend class NxTDPlan;

  /// A source-less input node.
  NxTDNode();

  /// Source `index`, which the constructor checked to be an NxTDNode.
  NxTDNode* TDSource(unsigned index) const { return static_cast<NxTDNode*>(SourceNodes[index]); }
  /// The step of UpdateTemporalDifferences() for a weighted node's weights.
  void ExtendTraces();
  /// The end of a sequence for a weighted node: the accumulated changes
  /// (completed by the final error) become weight changes; the traces and
  /// accumulators start over.
  void LearnFromSequence();

  FP12_20 LastOutput = 0;     ///< the output of the previous step
  FP12_20 PersistenceFP = 0;     ///< the persistence (lambda)
  bool SequenceStart = true;     ///< no step of the sequence taken yet
  NxArray<FP12_20> Traces{0, 10};   ///< one eligibility trace per weight
};

/// An input node of a temporal-difference network: no sources, no weights,
/// no traces; its output is the value last set.
class NX_EXPORT NxTDInputNode : public NxTDNode {
 public:
  /// An input node with output 0.
  NxTDInputNode();
  void Train() override {}  ///< nothing: an input node does not train
  FP12_20 GetNewOutput() override { return Output; }  ///< the value last set; never stale
  void ResetFlags() override {}  ///< nothing: an input node holds no error
  void UpdateEpochWeights() override {}  ///< nothing: no weights
  void AddNoise() override {}  ///< nothing: no bias
  void InitializeWeights(double) override {}  ///< nothing: no weights
  /// Tells the targets the output may have changed.
  void AssertNewInput() override;
  void UpdateErrorDelta() override {}  ///< nothing: no error
  void TrainWeights() override {}  ///< nothing: no weights
  void ResetTraining() override {}  ///< nothing: no training state
  void TrainOnOutcome() override {}  ///< nothing: an input node does not train
  void UpdateTemporalDifferences() override {}  ///< nothing: no traces
  void InitObservationSequence() override {}  ///< nothing: no traces
  /// Sets the output and tells the targets when it changed.
  virtual void SetInputValue(double value);
};

/// An output node of a temporal-difference network. Within a sequence its
/// error is the change of its prediction from one step to the next; at the
/// end, the difference between the outcome and the last prediction.
class NX_EXPORT NxTDOutputNode : public NxTDNode {
 public:
  /// As NxTDNode's constructor.
  NxTDOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence);
  /// Marks the output stale; an output node has no targets to tell.
  void AssertNewInput() override;
  /// The error sum is the previous output minus the current one.
  void UpdateErrorDelta() override;
  /// Sets the final error of a sequence, previous output minus `outcome`,
  /// for the TrainOnOutcome() that follows.
  virtual void SetOutcomeDifference(double outcome);
  /// The output for the current inputs, recomputed when stale.
  virtual double GetOutput();
};
