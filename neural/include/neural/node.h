#pragma once

/// @file node.h
/// @brief Nodes of back-propagation networks: the base NxNode, with the
/// input and output nodes of that kind.

#include <vector>

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
///
/// Nodes are made and owned by their layer (NxBaseLayer); a node only points
/// at its sources and targets. Values inside a node are FP12_20 fixed point.
/// A weighted node of n sources holds n + 1 weights: one per source, in the
/// order of its sources, then the bias.
class NX_EXPORT NxNode {
 public:
  /// A node fed by `sources` (not owned; each must outlive the node), which
  /// registers itself as a target of each and draws its initial weights as
  /// InitializeWeights(0) does.
  /// @throws XCNodeSpec for a type outside SIGMOID..MAJORITY;
  /// XCNodeSourceType for a logic node with a SIGMOID, LINEAR, PEAKED or
  /// MULTIPLICATIVE source.
  NxNode(const NxPtrArray<NxNode>& sources, NODETYPE type);
  /// Nodes are wired to one another by address and cannot be copied.
  ///@{
  NxNode(const NxNode&) = delete;
  NxNode& operator=(const NxNode&) = delete;
  ///@}

  virtual ~NxNode();
  /// One back-propagation step for the current pattern: trains the node's
  /// non-input sources first, then, for a weighted node, its weights (see
  /// TrainWeights()). Runs once per ResetFlags() sweep and does nothing when
  /// the error or the slope is 0. The targets must have been set and the
  /// flags reset first, as NxBackPropOutputLayer::Train() does.
  virtual void Train();
  /// The learning rate, used as given (no upper limit is applied); it also
  /// ends any rescaling of the rate by ScaleLearningRate().
  virtual void SetLearningRate(double rate);
  /// The momentum: the share of the previous weight change added to the
  /// next, clamped to 0..1.
  virtual void SetMomentum(double momentum);
  /// The largest change AddNoise() makes to the bias, clamped to 0..1.
  virtual void SetNoiseLevel(double noise);
  /// With `byEpoch`, Train() only accumulates weight changes and
  /// UpdateEpochWeights() applies them; otherwise weights change at once.
  virtual void SetTrainByEpoch(bool byEpoch);
  /// The stored output, as last computed and without recomputing it; the
  /// pointer stays valid for the node's life.
  virtual FP12_20* GetLastOutput();
  /// The output for the current inputs, recomputed (with any stale sources)
  /// only when the node is stale.
  virtual FP12_20 GetNewOutput();
  /// The number of sources (0 for an input node).
  virtual unsigned GetNumSources() const;
  /// Marks the node and its trainable sources as untrained, with an error to
  /// recompute; the sweep that must precede each Train().
  virtual void ResetFlags();
  /// The error this node sends back to its source `index`: its error sum
  /// times its slope, times the weight of that source for a weighted node.
  /// Stops the program through NX_CHECK for an index past the weights.
  virtual FP12_20 GetFractionalError(unsigned index);
  /// Applies the changes accumulated since the last call, with the learning
  /// rate and momentum; only weighted nodes that train by epoch change.
  virtual void UpdateEpochWeights();
  /// Appends the node's record to a weights file: its type, its number of
  /// weights and, for a weighted node, its automatic-rate scale value and
  /// every weight. `id` is unused. False when the file could not be written.
  virtual bool SaveWeights(NxFile& file, unsigned long id);
  /// Reads the node's record from a weights file and checks that it fits
  /// this node (same type and number of weights, finite representable
  /// values). The weights read are only kept aside, for AcceptFileWeights().
  /// False when the record does not fit or the file ends; `id` is unused.
  virtual bool TestFileWeights(NxFile& file, unsigned long id);
  /// Takes the weights the last successful TestFileWeights() read, and
  /// starts training afresh (ResetTraining()).
  virtual void AcceptFileWeights();
  /// The standard learning set-up from the number of sources n: smooth
  /// types get a rate of min(10 / n, `rate`), the rest of `rate` serving
  /// as the range of ScaleLearningRate(), and a momentum of at most 0.5;
  /// BINARY and logic nodes get a rate of 1 and a momentum of 0.5.
  virtual void SetupStandardLearning(double rate);
  /// Rescales the learning rate of the standard set-up for x in 0..1: the
  /// base rate at 0.5, growing towards 0 and 1 as 1 / sin(pi x). Types that
  /// are not smooth take a rate of 1; a node training by epoch also has its
  /// momentum set to 0.1.
  virtual void ScaleLearningRate(double x);
  /// Adds a random amount within the noise level to the bias; only smooth
  /// types with sources take noise.
  virtual void AddNoise();
  /// Draws every weight and the bias anew, uniformly within +-`range`; 0
  /// takes the range from the number of sources n (10 / n, 2 / n for
  /// BINARY). Clears the momentum and accumulated changes. Logic nodes have
  /// no weights and ignore it.
  virtual void InitializeWeights(double range);
  /// Marks the output stale and tells every target that this node's output
  /// may change.
  virtual void AssertNewInput();
  /// Trainings per automatic-rate period (see SetAutoRates()).
  virtual unsigned GetAutoPeriod() const;
  /// The mean absolute error of the last automatic-rate period (or the value
  /// SetAutoRates() started from), which sets the learning rate; 0 without
  /// automatic rates or for a logic node.
  virtual double GetScaleValue() const;
  /// Whether automatic rates are on.
  virtual bool IsAutoRates() const;
  /// Automatic rates: every `period` trainings (at least 1) the rate is
  /// rescaled by ScaleLearningRate() from the mean absolute error of the
  /// period. `value` is the scale value to start from. Turning them off
  /// goes back to the rate of scale 0.
  virtual void SetAutoRates(bool on, unsigned period, double value);
  /// Records `target` as fed by this node through its source slot `index`;
  /// a target's constructor calls it. Returns this node's type, which the
  /// target checks.
  virtual NODETYPE* RegisterTargetNode(NxNode* target, unsigned index);
  /// The net input from the sources (recomputing stale ones): the weighted
  /// sum plus the bias, or for a logic node the mean of the source outputs.
  virtual void CalculateNetValue();
  /// Recomputes the error sum from the targets' errors, and the slope, when
  /// ResetFlags() has marked them out of date.
  virtual void UpdateErrorDelta();
  /// Ends the current automatic-rate period at once, rescaling the rate
  /// from the error so far; nothing without automatic rates.
  virtual void AutoScaleRates();
  /// One weight step from the current error and slope with the rate and
  /// momentum, or when training by epoch, adds it to the accumulated
  /// changes. Weights saturate at the limits of FP12_20.
  virtual void TrainWeights();
  /// Forgets the momentum, the accumulated changes and the automatic-rate
  /// period; the weights stay.
  virtual void ResetTraining();

  /// @name Structure
  /// Read access for callers that inspect a network, and for tests. Indexes
  /// are not checked beyond NX_CHECK in the arrays.
  ///@{
  NODETYPE GetNodeType() const { return NodeType; }                        ///< the node's type
  unsigned GetNumTargets() const { return NumTargets; }                    ///< nodes this one feeds
  NxNode* GetSource(unsigned index) const { return SourceNodes[index]; }  ///< source `index`, not owned
  unsigned GetNumWeights() const { return Weights.empty() ? 0 : NumSources + 1; }  ///< sources + 1 (bias) if weighted, else 0
  FP12_20 GetWeight(unsigned index) const { return Checked(Weights, index); }  ///< weight `index`; the last is the bias
  ///@}
  /// Hand-set weights (tests, tools); marks everything downstream stale.
  void SetWeight(unsigned index, FP12_20 value);
  /// @name Training state
  /// For examining a network and for tests.
  ///@{
  FP12_20 GetWeightAccum(unsigned index) const { return Checked(WeightAccum, index); }  ///< change accumulated by epoch
  FP12_20 GetPrevDelta(unsigned index) const { return Checked(PrevDeltas, index); }     ///< the last change, for momentum
  FP12_20 GetOutputValue() const { return Output; }      ///< the stored output, not recomputed
  FP12_20 GetNetValue() const { return NetValue; }       ///< the net input of the last computation
  FP12_20 GetErrorSum() const { return ErrorSum; }       ///< the error of the last training step
  FP12_20 GetDerivative() const { return Derivative; }   ///< the slope of the last training step
  FP12_20 GetLearningRateFP() const { return LearningRateFP; }  ///< the rate in use
  FP12_20 GetMomentumFP() const { return MomentumFP; }          ///< the momentum in use
  FP12_20 GetNoiseFP() const { return NoiseFP; }                ///< the noise level
  double GetLearningRate() const { return LearningRate; }  ///< the base rate of the standard set-up
  double GetRateScale() const { return RateScale; }        ///< the range ScaleLearningRate() adds to it
  bool IsNewInput() const { return NewInput; }             ///< whether the output is stale
  bool IsTrained() const { return Trained; }               ///< whether Train() has run since ResetFlags()
  bool IsTrainByEpoch() const { return TrainByEpoch; }     ///< see SetTrainByEpoch()
  ///@}

 protected:
  /// The training passes of temporal-difference networks work on the nodes'
  /// state directly, and so does an input layer that tells the targets it
  /// shares about a new pattern at once.
  friend class NxTDPlan;
  friend class NxBackPropPlan;
  friend class NxBackPropInputLayer;

  /// A source-less input node: no wiring, no weights.
  explicit NxNode(NODETYPE type);

  bool IsWeighted() const { return IsWeightedType(NodeType); }  ///< see IsWeightedType()
  /// Entry `index` of a row, which must lie before the padding.
  FP12_20 Checked(const std::vector<FP12_20>& row, unsigned index) const {
    NX_CHECK(index < GetNumWeights());
    return row[index];
  }
  bool IsLogic() const { return IsLogicType(NodeType); }        ///< see IsLogicType()
  /// ResetFlags on a source: input nodes have no error to reset, and a node
  /// already marked has had its own sources marked too.
  static void ResetSourceFlags(NxNode* source) {
    if (!source->IsInputNode && !(source->ErrorDirty && !source->Trained)) source->ResetFlags();
  }
  /// GetFractionalError without the virtual call: no node class replaces it.
  FP12_20 FractionalError(unsigned index) {
    if (ErrorDirty) UpdateErrorDelta();
    FP12_20 error = FpMul(ErrorSum, Derivative);
    return IsLogic() ? error : FpMul(error, Weights[index]);
  }
  /// A source's output, recomputed only when it is stale.
  static FP12_20 SourceOutput(NxNode* source) {
    return source->NewInput ? source->GetNewOutput() : source->Output;
  }
  /// After any change of weights the node's output and everything
  /// downstream of it are stale.
  void WeightsChanged() {
    if (PlanOutdated) *PlanOutdated = true;
    AssertNewInput();
  }
  /// A source may have a new output: the node is stale.
  void SourceChanged() {
    if (!NewInput) AssertNewInput();
  }
  /// Tells every target that this node's output may change.
  void NotifyTargets();
  /// Input nodes: store a value and tell the targets when it changed.
  void StoreInput(double value);
  /// The sum of the targets' back-propagated errors and the node's slope.
  void ComputeErrorFromTargets();
  /// The rate of ScaleLearningRate() for x, with sin(pi x) held at `floor`
  /// or above.
  void ScaleRate(double x, double floor);
  /// The slope of the transfer function at the current net input and output.
  void ComputeDerivative();
  /// Adds |ErrorSum| to the automatic-rate period and rescales when it ends.
  void CountForAutoRates();
  /// The scale value a weights file records: the last period's value
  /// blended with the unfinished period's mean error; 0 without automatic
  /// rates.
  double FileScaleValue() const;

  NODETYPE NodeType;               ///< the node's type
  unsigned NumSources = 0;         ///< entries of SourceNodes
  unsigned NumTargets = 0;         ///< entries of TargetNodes
  unsigned AutoCount = 0;          ///< trainings in the current automatic-rate period
  unsigned AutoPeriod = 65534;         ///< trainings per automatic-rate period
  NxPtrArray<NxNode> SourceNodes{0, 10, false};  ///< the sources, in weight order, not owned
  NxPtrArray<NxNode> TargetNodes{0, 10, false};  ///< the nodes fed, not owned
  NxArray<unsigned> TargetIndices{0, 10};  ///< per target, the source slot this node feeds
  double LearningRate = 0.5;         ///< the base rate of the standard set-up
  double RateScale = 0;            ///< the rate range of ScaleLearningRate()
  double ScaleValue = 0;           ///< the automatic-rate scale value
  double SavedScaleValue = 0;         ///< the scale value read by TestFileWeights()
  FP12_20 LearningRateFP = FP_HALF;         ///< the rate in use
  FP12_20 MomentumFP = ToFixed(0.9);         ///< the momentum in use
  FP12_20 AutoAccum = 0;          ///< sum of absolute errors of the current period
  /// The rows of a weighted node: one entry per source, then the bias, then
  /// zeros up to nx_rows::RowStride(), so that the flat back-propagation
  /// passes work on them in place, in whole vector blocks.
  ///@{
  std::vector<FP12_20> Weights;
  std::vector<FP12_20> WeightAccum;  ///< changes accumulated when training by epoch
  std::vector<FP12_20> PrevDeltas;   ///< the last change of each weight, for momentum
  ///@}
  std::vector<FP12_20> SavedWeights;  ///< weights read by TestFileWeights()
  FP12_20 Output = 0;             ///< the output, as last computed
  FP12_20 NetValue = 0;           ///< the net input, within the fixed-point range
  FP12_20 NoiseFP = 0;            ///< the noise level
  FP12_20 ErrorSum = 0;           ///< error sum of the last training step
  FP12_20 Derivative = 0;         ///< slope of the last training step
  bool ErrorDirty = false;         ///< ErrorSum and Derivative need recomputing
  bool TrainByEpoch = true;         ///< see SetTrainByEpoch()
  bool Trained = true;            ///< Train() has run since ResetFlags()
  bool NewInput = false;          ///< the output is stale
  bool AutoRates = false;         ///< automatic rates are on
  /// An input node tells its targets about its first value even when it
  /// equals the initial 0, since nothing downstream has been computed yet.
  bool HasInput = false;
  bool IsInputNode = false;  ///< a source-less input node
  /// Some source is not an input node, so training and the error reset have
  /// sources to visit; input nodes neither train nor hold an error.
  bool HasTrainableSources = false;

  /// Raised when the weights or the input value change, for a network that
  /// keeps a copy of its nodes' forward state.
  bool* PlanOutdated = nullptr;
};

/// An input node of a back-propagation network.
/// It has no sources and no weights: its output is the value last set.
class NX_EXPORT NxInputNode : public NxNode {
 public:
  /// An input node with output 0.
  NxInputNode();
  void Train() override {}  ///< nothing: an input node does not train
  FP12_20 GetNewOutput() override { return Output; }  ///< the value last set; never stale
  void ResetFlags() override {}  ///< nothing: an input node holds no error
  void UpdateEpochWeights() override {}  ///< nothing: no weights
  void AddNoise() override {}  ///< nothing: no bias
  void InitializeWeights(double) override {}  ///< nothing: no weights
  /// Tells the targets the output may have changed; the node itself has
  /// nothing to recompute.
  void AssertNewInput() override;
  void UpdateErrorDelta() override {}  ///< nothing: no error
  void TrainWeights() override {}  ///< nothing: no weights
  /// Sets the output (converted to FP12_20) and tells the targets when it
  /// changed. The first value reaches them even when it is 0.
  virtual void SetInputValue(double value);
};

/// An output node of a back-propagation network.
/// Its error comes from a target value instead of from nodes it feeds.
class NX_EXPORT NxOutputNode : public NxNode {
 public:
  /// As NxNode's constructor, with a target of 0.
  NxOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type);
  /// Marks the output stale; an output node has no targets to tell.
  void AssertNewInput() override;
  /// The error sum is output - target, and the slope that of the output.
  void UpdateErrorDelta() override;
  /// The target for training; clamped to 0..1 unless the node is LINEAR.
  virtual void SetTargetValue(double value);
  /// target - output, from the stored output (not recomputed).
  virtual double GetOutputError();
  /// The output for the current inputs, recomputed when stale.
  virtual double GetOutput();

  FP12_20 GetTargetValue() const { return TargetValue; }  ///< the target, as clamped

 private:
  friend class NxBackPropPlan;
  FP12_20 TargetValue = 0;
};
