#pragma once

#include "neural/export.h"
#include "neural/fixed.h"
#include "neural/support.h"
#include "neural/types.h"

class NxFile;
class NxTDPlan;

/// A node of a network. Weighted nodes (SIGMOID, LINEAR, PEAKED, BINARY) sum
/// their weighted sources plus a bias; logic nodes (OR, AND, MAJORITY) take
/// the mean of binary sources. Outputs are computed lazily: a new input marks
/// every node downstream as stale, and a stale node recomputes only when its
/// output is asked for.
class NX_EXPORT NxNode {
 public:
  NxNode(const NxPtrArray<NxNode>& sources, NODETYPE type);
  NxNode(const NxNode&) = delete;
  NxNode& operator=(const NxNode&) = delete;

  virtual ~NxNode();
  virtual void Train();
  virtual void SetLearningRate(double rate);
  virtual void SetMomentum(double momentum);
  virtual void SetNoiseLevel(double noise);
  virtual void SetTrainByEpoch(bool byEpoch);
  virtual FP12_20* GetLastOutput();
  virtual FP12_20 GetNewOutput();
  virtual unsigned GetNumSources() const;
  virtual void ResetFlags();
  virtual FP12_20 GetFractionalError(unsigned index);
  virtual void UpdateEpochWeights();
  virtual bool SaveWeights(NxFile& file, unsigned long id);
  virtual bool TestFileWeights(NxFile& file, unsigned long id);
  virtual void AcceptFileWeights();
  virtual void SetupStandardLearning(double rate);
  virtual void ScaleLearningRate(double x);
  virtual void AddNoise();
  virtual void InitializeWeights(double range);
  virtual void AssertNewInput();
  virtual unsigned GetAutoPeriod() const;
  virtual double GetScaleValue() const;
  virtual bool IsAutoRates() const;
  virtual void SetAutoRates(bool on, unsigned period, double value);
  virtual NODETYPE* RegisterTargetNode(NxNode* target, unsigned index);
  virtual void CalculateNetValue();
  virtual void UpdateErrorDelta();
  virtual void AutoScaleRates();
  virtual void TrainWeights();
  virtual void ResetTraining();

  /// Read access for callers that inspect a network, and for tests.
  NODETYPE GetNodeType() const { return NodeType; }
  unsigned GetNumTargets() const { return NumTargets; }
  NxNode* GetSource(unsigned index) const { return SourceNodes[index]; }
  unsigned GetNumWeights() const { return Weights.GetNumItems(); }
  FP12_20 GetWeight(unsigned index) const { return Weights[index]; }
  /// Hand-set weights (tests, tools); marks everything downstream stale.
  void SetWeight(unsigned index, FP12_20 value);
  FP12_20 GetWeightAccum(unsigned index) const { return WeightAccum[index]; }
  FP12_20 GetPrevDelta(unsigned index) const { return PrevDeltas[index]; }
  FP12_20 GetOutputValue() const { return Output; }
  FP12_20 GetNetValue() const { return NetValue; }
  FP12_20 GetErrorSum() const { return ErrorSum; }
  FP12_20 GetDerivative() const { return Derivative; }
  FP12_20 GetLearningRateFP() const { return LearningRateFP; }
  FP12_20 GetMomentumFP() const { return MomentumFP; }
  FP12_20 GetNoiseFP() const { return NoiseFP; }
  double GetLearningRate() const { return LearningRate; }
  double GetRateScale() const { return RateScale; }
  bool IsNewInput() const { return NewInput; }
  bool IsTrained() const { return Trained; }
  bool IsTrainByEpoch() const { return TrainByEpoch; }

 protected:
  /// The training passes of temporal-difference networks work on the nodes'
  /// state directly, and so does an input layer that tells the targets it
  /// shares about a new pattern at once.
  friend class NxTDPlan;
  friend class NxBackPropPlan;
  friend class NxBackPropInputLayer;

  /// A source-less input node: no wiring, no weights.
  explicit NxNode(NODETYPE type);

  bool IsWeighted() const { return IsWeightedType(NodeType); }
  bool IsLogic() const { return IsLogicType(NodeType); }
  /// ResetFlags on a source: input nodes have no error to reset, and a node
  /// already marked has had its own sources marked too.
  static void ResetSourceFlags(NxNode* source) {
    if (!source->IsInputNode && !(source->ErrorDirty && !source->Trained)) source->ResetFlags();
  }
  /// GetFractionalError without the virtual call: no node class replaces it.
  FP12_20 FractionalError(unsigned index) {
    if (ErrorDirty) UpdateErrorDelta();
    FP12_20 error = FpMul(ErrorSum, Derivative);
    return IsLogic() ? error : FpMul(error, Weights.Data()[index]);
  }
  /// A source's output, recomputed only when it is stale.
  static FP12_20 SourceOutput(NxNode* source) {
    return source->NewInput ? source->GetNewOutput() : source->Output;
  }
  /// After any change of weights the whole net input is recomputed, and the
  /// node's output and everything downstream of it are stale.
  void WeightsChanged() {
    if (PlanOutdated) *PlanOutdated = true;
    FullRecompute = true;
    AssertNewInput();
  }
  /// Records that source `index` may have a new output, then marks the node
  /// stale. A stale node recomputes only the terms of its changed sources.
  void SourceChanged(unsigned index) {
    if (ChangedCount < MAX_CHANGED) ChangedSources[ChangedCount] = index;
    ++ChangedCount;
    if (!NewInput) AssertNewInput();
  }
  /// Tells every target that this node's output may change.
  void NotifyTargets();
  /// Some sources have new outputs, and which ones no longer matters: the
  /// node sums all its terms again, which gives exactly what replacing the
  /// changed ones would.
  void AllSourcesChanged() {
    FullRecompute = true;
    if (!NewInput) AssertNewInput();
  }
  void SumAllTerms();
  /// Input nodes: store a value and tell the targets when it changed.
  void StoreInput(double value);
  /// Stores the value; true when the targets must hear of it.
  bool StoreInputQuietly(double value);
  /// The sum of the targets' back-propagated errors and the node's slope.
  void ComputeErrorFromTargets();
  void ComputeDerivative();
  /// Adds |ErrorSum| to the automatic-rate period and rescales when it ends.
  void CountForAutoRates();
  double FileScaleValue() const;

  NODETYPE NodeType;
  unsigned NumSources;
  unsigned NumTargets;
  unsigned AutoCount;
  unsigned AutoPeriod;
  NxPtrArray<NxNode> SourceNodes;
  NxPtrArray<NxNode> TargetNodes;
  NxArray<unsigned> TargetIndices;
  double LearningRate;
  double RateScale;
  double ScaleValue;
  double SavedScaleValue;
  FP12_20 LearningRateFP;
  FP12_20 MomentumFP;
  FP12_20 AutoAccum;
  NxArray<FP12_20> Weights;
  NxArray<FP12_20> WeightAccum;
  NxArray<FP12_20> PrevDeltas;
  NxArray<FP12_20> SavedWeights;
  FP12_20 Output;
  FP12_20 NetValue;
  FP12_20 NoiseFP;
  FP12_20 ErrorSum;
  FP12_20 Derivative;
  bool ErrorDirty;
  bool TrainByEpoch;
  bool Trained;
  bool NewInput;
  bool AutoRates;
  /// An input node tells its targets about its first value even when it
  /// equals the initial 0, since nothing downstream has been computed yet.
  bool HasInput;
  bool IsInputNode = false;
  /// Some source is not an input node, so training and the error reset have
  /// sources to visit; input nodes neither train nor hold an error.
  bool HasTrainableSources = false;

  /// The net input is kept as the 64-bit sum of the bias and one product per
  /// source, so replacing the products of changed sources gives exactly the
  /// value a full sum would, in any order; NetValue is that sum held within
  /// the fixed-point range.
  static constexpr unsigned MAX_CHANGED = 32;
  int64_t NetSum = 0;
  NxArray<FP12_20> Terms;
  unsigned ChangedCount;
  unsigned ChangedSources[MAX_CHANGED];
  bool FullRecompute;
  /// Raised when the weights or the input value change, for a network that
  /// keeps a copy of its nodes' forward state.
  bool* PlanOutdated = nullptr;
};

/// An input node of a back-propagation network.
class NX_EXPORT NxInputNode : public NxNode {
 public:
  NxInputNode();
  void Train() override {}
  FP12_20 GetNewOutput() override { return Output; }
  void ResetFlags() override {}
  void UpdateEpochWeights() override {}
  void AddNoise() override {}
  void InitializeWeights(double) override {}
  void AssertNewInput() override;
  void UpdateErrorDelta() override {}
  void TrainWeights() override {}
  virtual void SetInputValue(double value);
};

/// An output node of a back-propagation network.
class NX_EXPORT NxOutputNode : public NxNode {
 public:
  NxOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type);
  void AssertNewInput() override;
  void UpdateErrorDelta() override;
  virtual void SetTargetValue(double value);
  virtual double GetOutputError();
  virtual double GetOutput();

  FP12_20 GetTargetValue() const { return TargetValue; }

 private:
  friend class NxBackPropPlan;
  FP12_20 TargetValue;
};
