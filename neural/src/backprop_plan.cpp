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

}  // namespace

bool NxBackPropPlan::Build(NxBackPropInputLayer* input, NxBackPropOutputLayer* output,
                           const std::vector<NxBaseLayer*>& layers, bool byEpoch) {
  InputLayer = input;
  OutputLayer = output;
  ByEpoch = byEpoch;
  TrainedSome = false;
  Groups.clear();
  if (!input || !output || !CheckChain(layers, byEpoch)) {
    Groups.clear();
    return false;
  }
  SizeGroups();
  return true;
}

bool NxBackPropPlan::IsPlainNode(const NxNode* node, bool output, bool byEpoch) const {
  if (output ? typeid(*node) != typeid(NxOutputNode) : typeid(*node) != typeid(NxNode)) return false;
  return IsWeightedType(node->NodeType) && !node->AutoRates && node->TrainByEpoch == byEpoch &&
         (!output || node->NumTargets == 0);
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
    group.Count = static_cast<unsigned>(group.Nodes.size());
    group.Width = static_cast<unsigned>(Groups[g - 1].Nodes.size());
    group.Stride = nx_rows::RowStride(group.Width + 1);
    group.Blocks = nx_rows::IsBlockLength(group.Stride);
    // The group before feeds this one: its values, the bias input, padding.
    NxRowArray& inputs = Groups[g - 1].Values;
    inputs.assign(group.Stride, 0);
    inputs[group.Width] = FP_ONE;
  }
  Groups.back().Values.assign(Groups.back().Nodes.size(), 0);
  unsigned widest = 0;
  for (size_t g = 1; g < Groups.size(); ++g) widest = std::max(widest, Groups[g].Stride);
  ErrorSums.assign(widest, 0);
}

void NxBackPropPlan::PassStaleOn() {
  bool staleBefore = false;
  for (size_t g = 1; g < Groups.size(); ++g) {
    bool stale = staleBefore;
    for (NxNode* node : Groups[g].Nodes) {
      stale = stale || node->NewInput;
      node->NewInput = node->NewInput || staleBefore;
    }
    staleBefore = stale;
  }
}

void NxBackPropPlan::MarkReached() {
  for (size_t g = 1; g < Groups.size(); ++g)
    for (NxNode* node : Groups[g].Nodes) {
      node->Trained = Groups[g].Reached;
      node->ErrorDirty = !Groups[g].Reached;
    }
}

bool NxBackPropPlan::Present(const double* row, double tolerance, NxErrorTotals* totals) {
  StoreInputs(row);
  Forward();
  StoreTargets(row + InputNodes.size());
  if (!Compare(tolerance, totals)) return false;
  Learn();
  return true;
}

void NxBackPropPlan::StoreInputs(const double* row) {
  FP12_20* values = Groups[0].Values.data();
  for (size_t k = 0; k < InputNodes.size(); ++k) {
    values[k] = ToFixed(row[k]);
    InputNodes[k]->Output = values[k];
    InputNodes[k]->HasInput = true;
  }
  InputLayer->NewInput = false;
}

void NxBackPropPlan::Forward() {
  bool held = false;
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    const FP12_20* inputs = Groups[g - 1].Values.data();
    const unsigned stride = group.Stride;
    const bool blocks = group.Blocks;
    FP12_20* values = group.Values.data();
    for (unsigned j = 0; j < group.Count; ++j) {
      NxNode* node = group.Nodes[j];
      const FP12_20* row = node->Weights.data();
      int64_t sum = blocks ? nx_rows::ProductSumBlocks(row, inputs, stride, held)
                           : nx_rows::ProductSum(row, inputs, stride, held);
      node->NetValue = nx_saturation::ClampNoting(sum, held);
      node->Output = values[j] = nx_transfer::Output(node->NodeType, node->NetValue);
      node->NewInput = false;
    }
  }
  nx_saturation::CountIf(held);
}

// Each output node takes its target itself, held within 0..1 unless linear.
void NxBackPropPlan::StoreTargets(const double* targets) {
  const Group& last = Groups.back();
  for (size_t k = 0; k < last.Nodes.size(); ++k) static_cast<NxOutputNode*>(last.Nodes[k])->SetTargetValue(targets[k]);
}

bool NxBackPropPlan::Compare(double tolerance, NxErrorTotals* totals) {
  const Group& last = Groups.back();
  const size_t count = last.Nodes.size();
  bool beyond = false;
  NxErrorTotals sums;
  for (size_t k = 0; k < count; ++k) {
    OutputLayer->Outputs[static_cast<unsigned>(k)] = ToDouble(last.Values[k]);
    const FP12_20 target = static_cast<const NxOutputNode*>(last.Nodes[k])->TargetValue;
    double error = std::fabs(ToDouble(FpSub(target, last.Values[k])));
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
  MarkReached();
  for (size_t g = 1; g < Groups.size(); ++g)
    if (Groups[g].Reached) TrainGroup(Groups[g], Groups[g - 1].Values);
  PassStaleOn();
}

bool NxBackPropPlan::AnyLearns(const Group& group) {
  for (const NxNode* node : group.Nodes)
    if (node->ErrorSum != 0 && node->Derivative != 0) return true;
  return false;
}

void NxBackPropPlan::OutputErrors() {
  Group& last = Groups.back();
  for (unsigned k = 0; k < last.Count; ++k) {
    auto* node = static_cast<NxOutputNode*>(last.Nodes[k]);
    node->ErrorSum = FpSub(last.Values[k], node->TargetValue);
    node->Derivative = nx_transfer::Derivative(node->NodeType, node->NetValue, last.Values[k]);
  }
}

// Each node's error is the sum of what its targets pass back: their error
// times their slope times the connecting weight, each product cut to 32 bits.
void NxBackPropPlan::HiddenErrors(Group& group, const Group& above) {
  int64_t* sums = ErrorSums.data();
  std::fill_n(sums, above.Stride, 0);
  for (const NxNode* target : above.Nodes) {
    FP12_20 delta = FpMul(target->ErrorSum, target->Derivative);
    if (delta == 0) continue;
    if (above.Blocks)
      nx_rows::AddErrorRowBlocks(sums, target->Weights.data(), above.Stride, delta);
    else
      nx_rows::AddErrorRow(sums, target->Weights.data(), above.Stride, delta);
  }
  for (unsigned j = 0; j < group.Count; ++j) {
    NxNode* node = group.Nodes[j];
    node->ErrorSum = nx_saturation::Clamp(sums[j]);
    node->Derivative = nx_transfer::Derivative(node->NodeType, node->NetValue, group.Values[j]);
  }
}

void NxBackPropPlan::TrainGroup(Group& group, const NxRowArray& inputs) {
  if (ByEpoch) return AccumulateGroup(group, inputs);
  bool held = false;
  const unsigned stride = group.Stride;
  const bool blocks = group.Blocks;
  const FP12_20* x = inputs.data();
  for (NxNode* node : group.Nodes) {
    if (node->ErrorSum == 0 || node->Derivative == 0) continue;
    FP12_20 negDelta = FpNeg(FpMul(FpMul(node->LearningRateFP, node->ErrorSum), node->Derivative));
    FP12_20* weights = node->Weights.data();
    FP12_20* changes = node->PrevDeltas.data();
    if (blocks)
      nx_rows::TrainRowBlocks(weights, changes, x, stride, negDelta, node->MomentumFP, held);
    else
      nx_rows::TrainRow(weights, changes, x, stride, negDelta, node->MomentumFP, held);
    node->NewInput = true;
  }
  nx_saturation::CountIf(held);
}

void NxBackPropPlan::AccumulateGroup(Group& group, const NxRowArray& inputs) {
  bool held = false;
  const unsigned length = group.Width + 1;
  for (NxNode* node : group.Nodes) {
    if (node->ErrorSum == 0 || node->Derivative == 0) continue;
    FP12_20 negDelta = FpNeg(FpMul(node->ErrorSum, node->Derivative));
    nx_rows::AccumulateRow(node->WeightAccum.data(), inputs.data(), length, negDelta, held);
  }
  nx_saturation::CountIf(held);
}

void NxBackPropPlan::ApplyEpochChanges() {
  bool held = false;
  for (size_t g = 1; g < Groups.size(); ++g)
    for (NxNode* node : Groups[g].Nodes) {
      nx_rows::ApplyAccumulatedRow(node->Weights.data(), node->PrevDeltas.data(), node->WeightAccum.data(),
                                   Groups[g].Width + 1, node->LearningRateFP, node->MomentumFP, held);
      node->NewInput = true;
    }
  nx_saturation::CountIf(held);
}
