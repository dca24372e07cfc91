#pragma once

#include "neural/node.h"

/// A node of a temporal-difference network. During an observation sequence
/// each step decays and extends the per-weight eligibility traces and
/// accumulates weight changes; the weights change only when the outcome of
/// the sequence arrives.
class NX_EXPORT NxTDNode : public NxNode {
 public:
  NxTDNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence);

  void SetTrainByEpoch(bool byEpoch) override;
  void SetupStandardLearning(double rate) override;
  void ScaleLearningRate(double x) override;
  void ResetTraining() override;

  virtual void TrainOnOutcome();
  virtual void UpdateTemporalDifferences();
  virtual void SetTrainingPersistence(double persistence);
  virtual double GetPersistence();
  virtual void InitObservationSequence();

  FP12_20 GetLastOutputValue() const { return LastOutput; }
  FP12_20 GetTrace(unsigned index) const { return Traces[index]; }
  bool IsSequenceStart() const { return SequenceStart; }

 protected:
  friend class NxTDPlan;

  /// A source-less input node.
  NxTDNode();

  NxTDNode* TDSource(unsigned index) const { return static_cast<NxTDNode*>(SourceNodes[index]); }
  /// Adds -ErrorSum times the trace, as it stood before this step, to each
  /// weight's accumulated change.
  void AccumulateFromTraces();
  void ExtendTraces();
  /// The end of a sequence for a weighted node: the accumulated changes
  /// (completed by the final error) become weight changes; the traces and
  /// accumulators start over.
  void LearnFromSequence();

  FP12_20 LastOutput;
  FP12_20 PersistenceFP;
  bool SequenceStart;
  NxArray<FP12_20> Traces;
};

class NX_EXPORT NxTDInputNode : public NxTDNode {
 public:
  NxTDInputNode();
  void Train() override {}
  FP12_20 GetNewOutput() override { return Output; }
  void ResetFlags() override {}
  void UpdateEpochWeights() override {}
  void AddNoise() override {}
  void InitializeWeights(double) override {}
  void AssertNewInput() override;
  void UpdateErrorDelta() override {}
  void TrainWeights() override {}
  void ResetTraining() override {}
  void TrainOnOutcome() override {}
  void UpdateTemporalDifferences() override {}
  void InitObservationSequence() override {}
  virtual void SetInputValue(double value);
};

class NX_EXPORT NxTDOutputNode : public NxTDNode {
 public:
  NxTDOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type, double persistence);
  void AssertNewInput() override;
  void UpdateErrorDelta() override;
  virtual void SetOutcomeDifference(double outcome);
  virtual double GetOutput();
};
