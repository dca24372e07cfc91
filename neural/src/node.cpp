#include "neural/node.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "saturation.h"
#include "transfer.h"
#include "weight_random.h"
#include "weight_rows.h"
#include "weights_io.h"

NxNode::NxNode(NODETYPE type) : NodeType(type) {}

NxNode::NxNode(const NxPtrArray<NxNode>& sources, NODETYPE type) : NxNode(type) {
  if (type < SIGMOID || type > MAJORITY) throw XCNodeSpec(type, "NxNode or NxTDNode");
  SourceNodes.Reallocate(sources.GetNumElements());
  for (unsigned i = 0; i < sources.GetNumElements(); ++i) SourceNodes.Add(sources[i]);
  NumSources = SourceNodes.GetNumElements();
  for (unsigned i = 0; i < NumSources; ++i) {
    NODETYPE sourceType = *SourceNodes[i]->RegisterTargetNode(this, i);
    // Logic nodes average binary values only.
    if (IsLogic() && (IsSmoothType(sourceType) || sourceType == MULTIPLICATIVE))
      throw XCNodeSourceType(type, sourceType);
    if (!SourceNodes[i]->IsInputNode) HasTrainableSources = true;
  }
  InitializeWeights(0.0);
  NewInput = false;  // nothing is computed until inputs arrive
}

NxNode::~NxNode() = default;

void NxNode::Train() {
  if (Trained) return;
  Trained = true;
  UpdateErrorDelta();
  if (ErrorSum == 0 || Derivative == 0) return;
  if (HasTrainableSources) {
    NxNode** sources = SourceNodes;
    for (unsigned i = 0; i < NumSources; ++i)
      if (!sources[i]->IsInputNode) sources[i]->Train();
  }
  if (AutoRates) CountForAutoRates();
  if (IsWeighted()) TrainWeights();
}

void NxNode::SetLearningRate(double rate) {
  LearningRate = rate;
  RateScale = 0;
  LearningRateFP = ToFixed(rate);
}

void NxNode::SetMomentum(double momentum) { MomentumFP = ToFixed(std::clamp(momentum, 0.0, 1.0)); }

void NxNode::SetNoiseLevel(double noise) { NoiseFP = ToFixed(std::clamp(noise, 0.0, 1.0)); }

void NxNode::SetTrainByEpoch(bool byEpoch) { TrainByEpoch = byEpoch; }

FP12_20* NxNode::GetLastOutput() { return &Output; }

FP12_20 NxNode::GetNewOutput() {
  if (!NewInput) return Output;
  CalculateNetValue();
  Output = nx_transfer::Output(NodeType, NetValue);
  NewInput = false;
  return Output;
}

unsigned NxNode::GetNumSources() const { return NumSources; }

// A node already marked dirty and untrained has had its sources marked in
// the same sweep or an earlier one that nothing has undone since, so the
// sweep stops there instead of revisiting shared sources once per path.
void NxNode::ResetFlags() {
  if (ErrorDirty && !Trained) return;
  ErrorDirty = true;
  Trained = false;
  if (!HasTrainableSources) return;
  NxNode** sources = SourceNodes;
  for (unsigned i = 0; i < NumSources; ++i) ResetSourceFlags(sources[i]);
}

FP12_20 NxNode::GetFractionalError(unsigned index) {
  NX_CHECK(index < GetNumWeights() || IsLogic());
  return FractionalError(index);
}

// The flat plan's row step, so that the two paths share one arithmetic.
void NxNode::UpdateEpochWeights() {
  if (!IsWeighted() || !TrainByEpoch) return;
  bool held = false;
  nx_rows::ApplyAccumulatedRow(Weights.data(), PrevDeltas.data(), WeightAccum.data(), GetNumWeights(), LearningRateFP,
                               MomentumFP, held);
  nx_saturation::CountIf(held);
  WeightsChanged();
}

double NxNode::FileScaleValue() const {
  if (!AutoRates) return 0.0;
  double value = ScaleValue * double(AutoPeriod - AutoCount) / AutoPeriod;
  if (AutoCount != 0) value += ToDouble(AutoAccum) / AutoCount;
  return value;
}

bool NxNode::SaveWeights(NxFile& file, unsigned long) {
  nx_weights::Record record;
  record.PutInt32(NodeType);
  record.PutUint32(NumSources + 1);
  if (IsWeighted()) {
    record.PutDouble(FileScaleValue());
    for (unsigned i = 0; i < GetNumWeights(); ++i) record.PutDouble(ToDouble(Weights[i]));
  }
  return record.WriteTo(file);
}

bool NxNode::TestFileWeights(NxFile& file, unsigned long) {
  int32_t type;
  uint32_t count;
  if (!nx_weights::ReadInt32(file, type) || !nx_weights::ReadUint32(file, count)) return false;
  if (type != NodeType || count != NumSources + 1) return false;
  if (!IsWeighted()) return true;
  double scale;
  if (!nx_weights::ReadDouble(file, scale) || !std::isfinite(scale)) return false;
  SavedScaleValue = scale;
  // The count has been checked against this node, so the read is bounded.
  SavedWeights.assign(count, 0);
  for (uint32_t i = 0; i < count; ++i) {
    double weight;
    if (!nx_weights::ReadDouble(file, weight) || !nx_weights::IsRepresentable(weight)) return false;
    SavedWeights[i] = ToFixed(weight);
  }
  return true;
}

void NxNode::AcceptFileWeights() {
  if (!IsWeighted()) return;
  std::copy(SavedWeights.begin(), SavedWeights.end(), Weights.begin());
  ScaleValue = SavedScaleValue;
  ResetTraining();
  WeightsChanged();
}

void NxNode::SetupStandardLearning(double rate) {
  double n = NumSources > 0 ? NumSources : 1;
  double momentum = std::max(1.0 - 0.0004 * NumSources, 0.05);
  if (IsSmoothType(NodeType)) {
    LearningRate = std::min(10.0 / n, rate);
    RateScale = (rate - LearningRate) * 0.0157;
    LearningRateFP = ToFixed(LearningRate);
    MomentumFP = ToFixed(std::min(momentum, 0.5));
  } else {
    LearningRateFP = FP_ONE;
    MomentumFP = FP_HALF;
  }
}

void NxNode::ScaleRate(double x, double floor) {
  double rate = 1.0;
  if (IsSmoothType(NodeType)) rate = LearningRate + RateScale * (1.0 / std::max(std::sin(M_PI * x), floor) - 1.0);
  LearningRateFP = ToFixed(rate);
}

void NxNode::ScaleLearningRate(double x) {
  ScaleRate(x, 0.0157);
  if (TrainByEpoch) MomentumFP = 0x19999;
}

void NxNode::AddNoise() {
  if (NumSources == 0 || !IsSmoothType(NodeType)) return;
  int64_t sign = nx_random::NextSign();
  int64_t r = nx_random::Next15();
  FP12_20 noise = static_cast<FP12_20>(int64_t(NoiseFP) * sign * r / 32767);
  Weights[NumSources] = nx_saturation::Add(Weights[NumSources], noise);
  WeightsChanged();
}

void NxNode::InitializeWeights(double range) {
  if (!IsWeighted()) return;
  if (range == 0.0) {
    // A node without sources (possible only when validation is skipped)
    // still gets a usable bias range.
    double n = NumSources > 0 ? NumSources : 1;
    range = NodeType == BINARY ? 2.0 / n : 10.0 / n;
  }
  const unsigned stride = nx_rows::RowStride(NumSources + 1);
  Weights.assign(stride, 0);
  PrevDeltas.assign(stride, 0);
  WeightAccum.assign(stride, 0);
  for (unsigned i = 0; i <= NumSources; ++i) {
    int r = nx_random::Next15();
    FP12_20 magnitude = ToFixed(r / 32767.0 * range);
    Weights[i] = nx_random::NextSign() > 0 ? magnitude : FpNeg(magnitude);
  }
  WeightsChanged();
}

void NxNode::AssertNewInput() {
  if (NewInput) return;
  NewInput = true;
  NotifyTargets();
}

void NxNode::NotifyTargets() {
  if (NumTargets == 0) return;
  NxNode** targets = TargetNodes;
  for (unsigned i = 0; i < NumTargets; ++i) targets[i]->SourceChanged();
}

unsigned NxNode::GetAutoPeriod() const { return AutoPeriod; }

double NxNode::GetScaleValue() const { return AutoRates && IsWeighted() ? ScaleValue : 0.0; }

bool NxNode::IsAutoRates() const { return AutoRates; }

void NxNode::SetAutoRates(bool on, unsigned period, double value) {
  if (on) {
    ScaleValue = value;
    ScaleLearningRate(value);
  } else {
    ScaleValue = 0;
    if (AutoRates) ScaleLearningRate(0);
  }
  AutoRates = on;
  AutoCount = 0;
  AutoAccum = 0;
  AutoPeriod = std::max(period, 1u);
}

NODETYPE* NxNode::RegisterTargetNode(NxNode* target, unsigned index) {
  // The arrays grow by a small fixed step; a source feeding tens of
  // thousands of nodes would copy them once per step. Doubling the room
  // when it runs out keeps the wiring linear.
  if (NumTargets == TargetNodes.GetCapacity()) {
    TargetNodes.Reallocate(2 * NumTargets);
    TargetIndices.Reallocate(2 * NumTargets);
  }
  TargetIndices.Add(index);
  TargetNodes.Add(target);
  ++NumTargets;
  return &NodeType;
}

// The sources are brought up to date first, so that the row of their
// outputs is complete before the sum reads it.
void NxNode::CalculateNetValue() {
  for (unsigned i = 0; i < NumSources; ++i) SourceOutput(SourceNodes[i]);
  const FP12_20* x = nx_rows::SourceOutputs(SourceNodes, NumSources);
  if (!IsWeighted()) {
    int64_t sum = 0;
    for (unsigned i = 0; i < NumSources; ++i) sum += x[i];
    NetValue = nx_transfer::LogicNet(sum, NumSources);
    return;
  }
  bool held = false;
  const int64_t sum = nx_rows::ProductSum(Weights.data(), x, NumSources + 1, held);
  nx_saturation::CountIf(held);
  NetValue = nx_saturation::Clamp(sum);
}

void NxNode::ComputeErrorFromTargets() {
  int64_t sum = 0;
  if (NumTargets > 0) {
    NxNode** targets = TargetNodes;
    const unsigned* indices = TargetIndices.Data();
    for (unsigned i = 0; i < NumTargets; ++i) sum += targets[i]->FractionalError(indices[i]);
  }
  ErrorSum = nx_saturation::Clamp(sum);
}

void NxNode::ComputeDerivative() { Derivative = nx_transfer::Derivative(NodeType, NetValue, Output); }

void NxNode::UpdateErrorDelta() {
  if (!ErrorDirty) return;
  ErrorDirty = false;
  ComputeErrorFromTargets();
  ComputeDerivative();
}

void NxNode::CountForAutoRates() {
  ++AutoCount;
  AutoAccum = FpAdd(AutoAccum, FpAbs(ErrorSum));
  if (AutoCount >= AutoPeriod) AutoScaleRates();
}

void NxNode::AutoScaleRates() {
  if (!AutoRates) return;
  ScaleValue = ToDouble(AutoAccum) / AutoPeriod;
  if (IsWeighted()) ScaleLearningRate(ScaleValue);
  AutoAccum = 0;
  AutoCount = 0;
}

// The flat plan's row steps, on the sources' outputs and 1 for the bias.
void NxNode::TrainWeights() {
  const FP12_20* x = nx_rows::SourceOutputs(SourceNodes, NumSources);
  const unsigned count = NumSources + 1;
  bool held = false;
  if (TrainByEpoch) {
    nx_rows::AccumulateRow(WeightAccum.data(), x, count, FpNeg(FpMul(ErrorSum, Derivative)), held);
    nx_saturation::CountIf(held);
    return;
  }
  const FP12_20 negDelta = FpNeg(FpMul(FpMul(LearningRateFP, ErrorSum), Derivative));
  nx_rows::TrainRow(Weights.data(), PrevDeltas.data(), x, count, negDelta, MomentumFP, held);
  nx_saturation::CountIf(held);
  WeightsChanged();
}

const FP12_20* nx_rows::SourceOutputs(const NxPtrArray<NxNode>& sources, unsigned count) {
  static thread_local std::vector<FP12_20> row;
  row.resize(count + 1);
  NxNode* const* from = count ? static_cast<NxNode**>(sources) : nullptr;
  for (unsigned i = 0; i < count; ++i) row[i] = from[i]->GetOutputValue();
  row[count] = FP_ONE;
  return row.data();
}

void NxNode::ResetTraining() {
  SetAutoRates(AutoRates, AutoPeriod, ScaleValue);
  std::fill(WeightAccum.begin(), WeightAccum.end(), 0);
  std::fill(PrevDeltas.begin(), PrevDeltas.end(), 0);
  AutoAccum = 0;
  AutoCount = 0;
}

void NxNode::SetWeight(unsigned index, FP12_20 value) {
  NX_CHECK(index < GetNumWeights());
  Weights[index] = value;
  WeightsChanged();
}

void NxNode::StoreInput(double value) {
  FP12_20 fixed = ToFixed(value);
  if (HasInput && fixed == Output) return;  // nothing downstream can change
  HasInput = true;
  Output = fixed;
  if (PlanOutdated) *PlanOutdated = true;
  AssertNewInput();
}

NxInputNode::NxInputNode() : NxNode(SIGMOID) { IsInputNode = true; }

// An input node has no output to compute: it only passes the news on.
void NxInputNode::AssertNewInput() { NotifyTargets(); }

void NxInputNode::SetInputValue(double value) { StoreInput(value); }

NxOutputNode::NxOutputNode(const NxPtrArray<NxNode>& sources, NODETYPE type) : NxNode(sources, type) {}

void NxOutputNode::AssertNewInput() { NewInput = true; }

void NxOutputNode::UpdateErrorDelta() {
  if (!ErrorDirty) return;
  ErrorDirty = false;
  ComputeDerivative();
  ErrorSum = FpSub(Output, TargetValue);
}

void NxOutputNode::SetTargetValue(double value) {
  if (NodeType != LINEAR) value = std::clamp(value, 0.0, 1.0);
  TargetValue = ToFixed(value);
}

double NxOutputNode::GetOutputError() { return ToDouble(FpSub(TargetValue, Output)); }

double NxOutputNode::GetOutput() { return ToDouble(GetNewOutput()); }
