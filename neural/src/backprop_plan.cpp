#include "backprop_plan.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "neural/node.h"
#include "saturation.h"
#include "transfer.h"
#include "weight_rows.h"

namespace {

std::vector<NxNode*> NodesOf(const NxBaseLayer* layer) {
  std::vector<NxNode*> nodes;
  for (unsigned i = 0; i < layer->GetNumNodes(); ++i) nodes.push_back(layer->GetNodeAt(i));
  return nodes;
}

// Wide rows take the vector loops, which run whole blocks; narrow ones are
// not worth the padding.
unsigned RowStride(unsigned width) {
  unsigned length = width + 1;
  if (length < nx_rows::ROW_BLOCK) return length;
  return (length + nx_rows::ROW_BLOCK - 1) / nx_rows::ROW_BLOCK * nx_rows::ROW_BLOCK;
}

}  // namespace

bool NxBackPropPlan::Build(NxBackPropInputLayer* input, NxBackPropOutputLayer* output,
                           const std::vector<NxBaseLayer*>& layers, bool byEpoch) {
  InputLayer = input;
  OutputLayer = output;
  ByEpoch = byEpoch;
  Groups.clear();
  if (!input || !output || !CheckChain(layers, byEpoch)) {
    Groups.clear();
    return false;
  }
  SizeGroups();
  Load();
  return true;
}

bool NxBackPropPlan::IsPlainNode(const NxNode* node, bool output, bool byEpoch) const {
  if (output ? typeid(*node) != typeid(NxOutputNode) : typeid(*node) != typeid(NxNode)) return false;
  unsigned rowLength = node->NumSources + 1;
  return IsWeightedType(node->NodeType) && !node->AutoRates && node->TrainByEpoch == byEpoch &&
         (!output || node->NumTargets == 0) &&
         node->Weights.GetNumItems() == rowLength && node->PrevDeltas.GetNumItems() == rowLength &&
         node->WeightAccum.GetNumItems() == rowLength;
}

// Every source feeds exactly the targets, in order, and every target takes
// exactly the sources, in order.
bool NxBackPropPlan::FeedsExactly(const std::vector<NxNode*>& sources, const std::vector<NxNode*>& targets) const {
  for (unsigned i = 0; i < sources.size(); ++i) {
    const NxNode* source = sources[i];
    if (source->NumTargets != targets.size()) return false;
    for (unsigned t = 0; t < targets.size(); ++t)
      if (source->TargetNodes[t] != targets[t] || source->TargetIndices[t] != i) return false;
  }
  for (const NxNode* target : targets) {
    if (target->NumSources != sources.size()) return false;
    for (unsigned i = 0; i < sources.size(); ++i)
      if (target->SourceNodes[i] != sources[i]) return false;
  }
  return true;
}

bool NxBackPropPlan::CheckChain(const std::vector<NxBaseLayer*>& layers, bool byEpoch) {
  size_t nodesInLayers = 0;
  for (const NxBaseLayer* layer : layers) {
    bool plainClass = layer == InputLayer    ? typeid(*layer) == typeid(NxBackPropInputLayer)
                      : layer == OutputLayer ? typeid(*layer) == typeid(NxBackPropOutputLayer)
                                             : typeid(*layer) == typeid(NxBackPropLayer);
    if (!plainClass) return false;
    if (layer != InputLayer) nodesInLayers += layer->GetNumNodes();
  }
  InputNodes = NodesOf(InputLayer);
  if (InputNodes.empty()) return false;
  for (const NxNode* node : InputNodes)
    if (typeid(*node) != typeid(NxInputNode)) return false;
  const std::vector<NxNode*> outputs = NodesOf(OutputLayer);
  Groups.push_back(Group{});
  Groups.back().Nodes = InputNodes;
  size_t nodesInChain = 0;
  while (Groups.back().Nodes[0]->NumTargets > 0) {
    const std::vector<NxNode*>& sources = Groups.back().Nodes;
    const NxNode* first = sources[0];
    NxNode* const* firstTargets = first->TargetNodes;
    std::vector<NxNode*> targets(firstTargets, firstTargets + first->NumTargets);
    nodesInChain += targets.size();
    if (nodesInChain > nodesInLayers || !FeedsExactly(sources, targets)) return false;
    const bool last = targets[0]->NumTargets == 0;
    for (const NxNode* node : targets)
      if (!IsPlainNode(node, last, byEpoch)) return false;
    Groups.push_back(Group{});
    Groups.back().Nodes = std::move(targets);
  }
  // The chain must end in the output layer and take in every node.
  return Groups.size() > 1 && Groups.back().Nodes == outputs && nodesInChain == nodesInLayers;
}

void NxBackPropPlan::SizeGroups() {
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    const size_t count = group.Nodes.size();
    group.Count = static_cast<unsigned>(count);
    group.Width = static_cast<unsigned>(Groups[g - 1].Nodes.size());
    group.Stride = RowStride(group.Width);
    group.Blocks = nx_rows::IsBlockLength(group.Stride);
    group.Weights.assign(count * group.Stride, 0);
    group.Changes.assign(count * group.Stride, 0);
    group.Accum.assign(count * group.Stride, 0);
    group.Net.assign(count, 0);
    group.Error.assign(count, 0);
    group.Slope.assign(count, 0);
    group.Rate.assign(count, 0);
    group.Momentum.assign(count, 0);
    group.Type.assign(count, SIGMOID);
    group.Stale.assign(count, 0);
    // The group before feeds this one: its values, the bias input, padding.
    NxRowArray& inputs = Groups[g - 1].Values;
    inputs.assign(group.Stride, 0);
    inputs[group.Width] = FP_ONE;
  }
  Groups.back().Values.assign(Groups.back().Nodes.size(), 0);
  Targets.assign(Groups.back().Nodes.size(), 0);
  unsigned widest = 0;
  for (size_t g = 1; g < Groups.size(); ++g) widest = std::max(widest, Groups[g].Stride);
  ErrorSums.assign(widest, 0);
  Outputs.assign(Groups.back().Nodes.size(), 0.0);
}

void NxBackPropPlan::Load() {
  for (size_t g = 1; g < Groups.size(); ++g) LoadGroup(Groups[g]);
  Presented = false;
  TrainedSome = false;
}

void NxBackPropPlan::LoadGroup(Group& group) {
  const unsigned length = group.Width + 1;
  for (size_t j = 0; j < group.Nodes.size(); ++j) {
    const NxNode* node = group.Nodes[j];
    std::copy_n(node->Weights.Data(), length, &group.Weights[j * group.Stride]);
    std::copy_n(node->PrevDeltas.Data(), length, &group.Changes[j * group.Stride]);
    std::copy_n(node->WeightAccum.Data(), length, &group.Accum[j * group.Stride]);
    group.Rate[j] = node->LearningRateFP;
    group.Momentum[j] = node->MomentumFP;
    group.Type[j] = node->NodeType;
    group.Error[j] = node->ErrorSum;
    group.Slope[j] = node->Derivative;
    group.Stale[j] = node->NewInput;
  }
}

void NxBackPropPlan::Store() {
  bool stale = false;
  for (size_t g = 1; g < Groups.size(); ++g) stale = StoreGroup(Groups[g], stale);
  if (Presented) StoreEnds();
}

// A node whose weights changed is stale, and so is everything downstream.
bool NxBackPropPlan::StoreGroup(Group& group, bool staleBefore) {
  const unsigned length = group.Width + 1;
  bool anyStale = staleBefore;
  for (size_t j = 0; j < group.Nodes.size(); ++j) {
    NxNode* node = group.Nodes[j];
    std::copy_n(&group.Weights[j * group.Stride], length, node->Weights.Data());
    std::copy_n(&group.Changes[j * group.Stride], length, node->PrevDeltas.Data());
    std::copy_n(&group.Accum[j * group.Stride], length, node->WeightAccum.Data());
    if (Presented) {
      node->Output = group.Values[j];
      node->NetValue = group.Net[j];
    }
    if (TrainedSome) {
      node->ErrorSum = group.Error[j];
      node->Derivative = group.Slope[j];
      node->Trained = group.Reached;
      node->ErrorDirty = !group.Reached;
    }
    node->NewInput = staleBefore || group.Stale[j];
    anyStale = anyStale || group.Stale[j];
  }
  return anyStale;
}

void NxBackPropPlan::StoreEnds() {
  const NxRowArray& inputs = Groups[0].Values;
  for (size_t k = 0; k < InputNodes.size(); ++k) {
    InputNodes[k]->Output = inputs[k];
    InputNodes[k]->HasInput = true;
  }
  const Group& last = Groups.back();
  for (size_t k = 0; k < last.Nodes.size(); ++k) OutputLayer->Outputs[static_cast<unsigned>(k)] = Outputs[k];
  InputLayer->NewInput = false;
}

bool NxBackPropPlan::Present(const double* row, double tolerance, NxErrorTotals* totals) {
  StoreInputs(row);
  Forward();
  StoreTargets(row + InputNodes.size());
  Presented = true;
  if (!Compare(tolerance, totals)) return false;
  Learn();
  return true;
}

void NxBackPropPlan::StoreInputs(const double* row) {
  FP12_20* values = Groups[0].Values.data();
  for (size_t k = 0; k < InputNodes.size(); ++k) values[k] = ToFixed(row[k]);
}

void NxBackPropPlan::Forward() {
  bool held = false;
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    const FP12_20* inputs = Groups[g - 1].Values.data();
    const FP12_20* row = group.Weights.data();
    const unsigned stride = group.Stride;
    const bool blocks = group.Blocks;
    const NODETYPE* type = group.Type.data();
    FP12_20* nets = group.Net.data();
    FP12_20* values = group.Values.data();
    uint8_t* stale = group.Stale.data();
    for (unsigned j = 0; j < group.Count; ++j, row += stride) {
      int64_t sum = blocks ? nx_rows::ProductSumBlocks(row, inputs, stride, held)
                           : nx_rows::ProductSum(row, inputs, stride, held);
      FP12_20 net = nx_saturation::ClampNoting(sum, held);
      nets[j] = net;
      values[j] = nx_transfer::Output(type[j], net);
      stale[j] = 0;
    }
  }
  nx_saturation::CountIf(held);
}

// Each output node takes its target itself, held within 0..1 unless
// linear; the plan keeps a copy for the pattern's errors.
void NxBackPropPlan::StoreTargets(const double* targets) {
  const Group& last = Groups.back();
  for (size_t k = 0; k < last.Nodes.size(); ++k) {
    auto* node = static_cast<NxOutputNode*>(last.Nodes[k]);
    node->SetTargetValue(targets[k]);
    Targets[k] = node->TargetValue;
  }
}

bool NxBackPropPlan::Compare(double tolerance, NxErrorTotals* totals) {
  const Group& last = Groups.back();
  const size_t count = last.Nodes.size();
  bool beyond = false;
  NxErrorTotals sums;
  for (size_t k = 0; k < count; ++k) {
    Outputs[k] = ToDouble(last.Values[k]);
    double error = std::fabs(ToDouble(FpSub(Targets[k], last.Values[k])));
    beyond = beyond || error > tolerance;
    if (error > sums.MaxError) sums.MaxError = error;
    sums.MeanAbsError += error;
    sums.MeanSquareError += error * error;
  }
  if (totals) {
    sums.MeanAbsError /= count;
    sums.MeanSquareError /= count;
    *totals = sums;
  }
  return beyond;
}

// Every error is computed with the weights the pattern was evaluated with,
// and only then do the weights change. A group is reached when the group
// above it was reached and some node there has an error to pass back.
void NxBackPropPlan::Learn() {
  TrainedSome = true;
  OutputErrors();
  for (size_t g = 1; g < Groups.size(); ++g) Groups[g].Reached = false;
  Groups.back().Reached = true;
  for (size_t g = Groups.size() - 1; g >= 2 && AnyLearns(Groups[g]); --g) {
    HiddenErrors(Groups[g - 1], Groups[g]);
    Groups[g - 1].Reached = true;
  }
  for (size_t g = 1; g < Groups.size(); ++g)
    if (Groups[g].Reached) TrainGroup(Groups[g], Groups[g - 1].Values);
}

bool NxBackPropPlan::AnyLearns(const Group& group) {
  for (unsigned j = 0; j < group.Count; ++j)
    if (group.Error[j] != 0 && group.Slope[j] != 0) return true;
  return false;
}

void NxBackPropPlan::OutputErrors() {
  Group& last = Groups.back();
  for (unsigned k = 0; k < last.Count; ++k) {
    last.Error[k] = FpSub(last.Values[k], Targets[k]);
    last.Slope[k] = nx_transfer::Derivative(last.Type[k], last.Net[k], last.Values[k]);
  }
}

// Each node's error is the sum of what its targets pass back: their error
// times their slope times the connecting weight, each product cut to 32 bits.
void NxBackPropPlan::HiddenErrors(Group& group, const Group& above) {
  int64_t* sums = ErrorSums.data();
  std::fill_n(sums, above.Stride, 0);
  const FP12_20* row = above.Weights.data();
  for (unsigned k = 0; k < above.Count; ++k, row += above.Stride) {
    FP12_20 delta = FpMul(above.Error[k], above.Slope[k]);
    if (delta == 0) continue;
    if (above.Blocks)
      nx_rows::AddErrorRowBlocks(sums, row, above.Stride, delta);
    else
      nx_rows::AddErrorRow(sums, row, above.Stride, delta);
  }
  for (unsigned j = 0; j < group.Count; ++j) {
    group.Error[j] = nx_saturation::Clamp(sums[j]);
    group.Slope[j] = nx_transfer::Derivative(group.Type[j], group.Net[j], group.Values[j]);
  }
}

void NxBackPropPlan::TrainGroup(Group& group, const NxRowArray& inputs) {
  if (ByEpoch) return AccumulateGroup(group, inputs);
  bool held = false;
  const unsigned stride = group.Stride;
  const bool blocks = group.Blocks;
  const FP12_20* x = inputs.data();
  const FP12_20* error = group.Error.data();
  const FP12_20* slope = group.Slope.data();
  const FP12_20* rate = group.Rate.data();
  const FP12_20* momentum = group.Momentum.data();
  FP12_20* weights = group.Weights.data();
  FP12_20* changes = group.Changes.data();
  uint8_t* stale = group.Stale.data();
  const bool unitInputs = blocks && nx_rows::WithinUnitRange(x, stride);
  for (unsigned j = 0; j < group.Count; ++j, weights += stride, changes += stride) {
    if (error[j] == 0 || slope[j] == 0) continue;
    FP12_20 negDelta = FpNeg(FpMul(FpMul(rate[j], error[j]), slope[j]));
    if (blocks)
      nx_rows::TrainRowBlocks(weights, changes, x, stride, negDelta, momentum[j], unitInputs, held);
    else
      nx_rows::TrainRow(weights, changes, x, stride, negDelta, momentum[j], held);
    stale[j] = 1;
  }
  nx_saturation::CountIf(held);
}

void NxBackPropPlan::AccumulateGroup(Group& group, const NxRowArray& inputs) {
  bool held = false;
  const unsigned length = group.Width + 1;
  for (unsigned j = 0; j < group.Count; ++j) {
    if (group.Error[j] == 0 || group.Slope[j] == 0) continue;
    FP12_20 negDelta = FpNeg(FpMul(group.Error[j], group.Slope[j]));
    nx_rows::AccumulateRow(&group.Accum[j * group.Stride], inputs.data(), length, negDelta, held);
  }
  nx_saturation::CountIf(held);
}

void NxBackPropPlan::ApplyEpochChanges() {
  bool held = false;
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    for (size_t j = 0; j < group.Nodes.size(); ++j) {
      const size_t row = j * group.Stride;
      nx_rows::ApplyAccumulatedRow(&group.Weights[row], &group.Changes[row], &group.Accum[row], group.Width + 1,
                                   group.Rate[j], group.Momentum[j], held);
      group.Stale[j] = 1;
    }
  }
  nx_saturation::CountIf(held);
}
