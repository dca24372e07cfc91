// Batch learning over the flat plan: gradients summed over a whole epoch,
// then one step of every weight, by iRPROP- or by gradient descent.
#include <algorithm>
#include <cmath>

#include "backprop_plan.h"
#include "batch_rows.h"
#include "saturation.h"
#include "transfer.h"

namespace {

// Rounded rather than truncated: folding the scaling should move the
// network's outputs as little as the fixed point allows.
FP12_20 NearestFixed(double value) { return ToFixed(std::nearbyint(value * FP_SCALE) / FP_SCALE); }

}  // namespace

void NxBackPropPlan::PrepareBatch(const NxRpropSettings* settings) {
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    const size_t size = size_t{group.Count} * group.Stride;
    if (group.Gradient.size() != size) group.Gradient.assign(size, 0);
    if (settings && group.Steps.size() != size) {
      group.Steps.assign(size, std::max<FP12_20>(1, ToFixed(settings->InitialStep)));
      group.Signs.assign(size, 0);
    }
  }
}

// Unlike Learn, every group's errors are computed: a batch step moves every
// weight whatever the pattern's errors were.
void NxBackPropPlan::BackPropagateAll() {
  OutputErrors();
  for (size_t g = Groups.size() - 1; g >= 2; --g) HiddenErrors(Groups[g - 1], Groups[g]);
  for (size_t g = 1; g < Groups.size(); ++g) Groups[g].Reached = true;
  MarkReached();
  TrainedSome = true;
}

void NxBackPropPlan::AccumulateGradient(Group& group, const NxRowArray& inputs) {
  const unsigned length = group.Width + 1;
  for (unsigned j = 0; j < group.Count; ++j) {
    const FP12_20 delta = FpMul(group.Nodes[j]->ErrorSum, group.Nodes[j]->Derivative);
    if (delta != 0) nx_batch::AddGradientRowFast(&group.Gradient[j * group.Stride], inputs.data(), length, delta);
  }
}

void NxBackPropPlan::AddGradient(const double* row, NxErrorTotals* totals) {
  PrepareBatch(nullptr);
  StoreInputs(row);
  Forward();
  StoreTargets(row + InputNodes.size());
  Compare(0.0, totals);
  BackPropagateAll();
  for (size_t g = 1; g < Groups.size(); ++g) AccumulateGradient(Groups[g], Groups[g - 1].Values);
}

void NxBackPropPlan::AddDecay(double decay, unsigned patterns) {
  const FP12_20 factor = ToFixed(decay * patterns);
  if (factor == 0) return;
  for (size_t g = 1; g < Groups.size(); ++g) {
    Group& group = Groups[g];
    for (unsigned j = 0; j < group.Count; ++j)
      nx_batch::AddDecayRow(&group.Gradient[size_t(j) * group.Stride], group.Nodes[j]->Weights.data(), group.Width,
                            factor);
  }
}

namespace {

// Runs `step` on every node's row of weights and bias (group 0 holds the
// inputs); the step marks the node's output for computing again.
template <typename Groups, typename RowStep>
void StepEveryRow(Groups& groups, RowStep step) {
  for (size_t g = 1; g < groups.size(); ++g) {
    auto& group = groups[g];
    for (unsigned j = 0; j < group.Count; ++j) step(group, group.Nodes[j], size_t(j) * group.Stride, group.Width + 1);
  }
}

}  // namespace

void NxBackPropPlan::StepRprop(const NxRpropSettings& settings, double decay, unsigned patterns) {
  PrepareBatch(&settings);
  AddDecay(decay, patterns);
  const nx_batch::RpropLimits limits{std::max<FP12_20>(1, ToFixed(settings.MinStep)), ToFixed(settings.MaxStep),
                                     ToFixed(settings.Increase), ToFixed(settings.Decrease)};
  bool held = false;
  StepEveryRow(Groups, [&](Group& group, NxNode* node, size_t at, unsigned length) {
    nx_batch::RpropRow(node->Weights.data(), &group.Steps[at], &group.Signs[at], &group.Gradient[at], length, limits,
                       held);
    node->NewInput = true;
  });
  nx_saturation::CountIf(held);
}

void NxBackPropPlan::StepGradient(double rate, double momentum, double decay, unsigned patterns) {
  PrepareBatch(nullptr);
  AddDecay(decay, patterns);
  const FP12_20 rateFP = ToFixed(rate);
  const FP12_20 momentumFP = ToFixed(momentum);
  const int64_t count = std::max(1u, patterns);
  bool held = false;
  StepEveryRow(Groups, [&](Group& group, NxNode* node, size_t at, unsigned length) {
    nx_batch::GradientRow(node->Weights.data(), node->PrevDeltas.data(), &group.Gradient[at], length, count, rateFP,
                          momentumFP, held);
    node->NewInput = true;
  });
  nx_saturation::CountIf(held);
}

const double* NxBackPropPlan::Evaluate(const double* inputs) {
  StoreInputs(inputs);
  Forward();
  const Group& last = Groups.back();
  for (size_t k = 0; k < last.Nodes.size(); ++k)
    OutputLayer->Outputs[static_cast<unsigned>(k)] = ToDouble(last.Values[k]);
  // The errors the nodes hold are of an earlier pattern now.
  for (size_t g = 1; g < Groups.size(); ++g) Groups[g].Reached = false;
  if (TrainedSome) MarkReached();
  return OutputLayer->Outputs.Data();
}

void NxBackPropPlan::FoldInputScaling(const double* scale, const double* offset) {
  Group& first = Groups[1];
  for (NxNode* node : first.Nodes) {
    FP12_20* row = node->Weights.data();
    double bias = ToDouble(row[first.Width]);
    for (unsigned i = 0; i < first.Width; ++i) {
      const double weight = ToDouble(row[i]);
      bias += weight * offset[i];
      row[i] = NearestFixed(weight * scale[i]);
    }
    row[first.Width] = NearestFixed(bias);
    node->NewInput = true;
  }
  PassStaleOn();
}

std::vector<FP12_20> NxBackPropPlan::CopyWeights() const {
  std::vector<FP12_20> weights;
  for (size_t g = 1; g < Groups.size(); ++g)
    for (const NxNode* node : Groups[g].Nodes) weights.insert(weights.end(), node->Weights.begin(), node->Weights.end());
  return weights;
}

void NxBackPropPlan::RestoreWeights(const std::vector<FP12_20>& weights) {
  auto from = weights.begin();
  for (size_t g = 1; g < Groups.size(); ++g)
    for (NxNode* node : Groups[g].Nodes) {
      std::copy_n(from, node->Weights.size(), node->Weights.begin());
      from += static_cast<std::ptrdiff_t>(node->Weights.size());
      node->NewInput = true;
    }
}
