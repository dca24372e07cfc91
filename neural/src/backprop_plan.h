#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "neural/backprop_layer.h"
#include "neural/fixed.h"
#include "neural/types.h"

class NxBaseLayer;
class NxNode;

// iRPROP-: each weight moves by its own step against the sign of its
// gradient; the step grows while the sign holds and shrinks when it flips.
struct NxRpropSettings {
  double Increase = 1.2;
  double Decrease = 0.5;
  // Small first steps: the scaled inputs and the drawn weights are near
  // their useful size already.
  double InitialStep = 0.01;
  double MinStep = 1e-6;
  double MaxStep = 50.0;
};

using NxRowArray = std::vector<FP12_20>;

// Back-propagation training over flat rows, for the common network whose
// nodes form a chain of fully connected groups: every node of a group takes
// the whole group before it as its sources, in order, and feeds only the
// group after it. The weights, their changes and every node's state stay
// the nodes' own: the plan works on their rows in place, and keeps beside
// them only the row of each group's outputs that feeds the next group, so a
// pattern is a few passes over rows instead of a walk through scattered
// nodes and their bookkeeping. Whatever the plan has done, every node is as
// training node by node would have left it.
class NxBackPropPlan {
 public:
  // Lays out the network anew; false when it is not a chain the plan can
  // run (other wiring, logic nodes, automatic rates, mixed training modes,
  // classes that replace a node's operations).
  bool Build(NxBackPropInputLayer* input, NxBackPropOutputLayer* output, const std::vector<NxBaseLayer*>& layers,
             bool byEpoch);

  // Presents one row of inputs and targets. The output errors are added to
  // `totals` when it is given; true when some output lies beyond the
  // tolerance, and then the network has learned from the pattern.
  bool Present(const double* row, double tolerance, NxErrorTotals* totals);
  // Learning by epoch: every weight takes its accumulated change.
  void ApplyEpochChanges();

  // Batch learning (backprop_batch.cpp). A row's gradient of half its
  // squared error is added up without touching the weights; a step then
  // moves every weight once and starts the sums anew.
  void AddGradient(const double* row, NxErrorTotals* totals);
  // decay: the weight decay per pattern; the sums grow by patterns * decay
  // times every weight (biases excepted) before the step.
  void StepRprop(const NxRpropSettings& settings, double decay, unsigned patterns);
  void StepGradient(double rate, double momentum, double decay, unsigned patterns);
  // Outputs for the inputs alone.
  const double* Evaluate(const double* inputs);
  // The first group takes x * scale[i] + offset[i] for input i: folding it
  // into the weights lets the network take raw inputs.
  void FoldInputScaling(const double* scale, const double* offset);
  // Every weight, group after group, to keep the best of a run and return to.
  std::vector<FP12_20> CopyWeights() const;
  void RestoreWeights(const std::vector<FP12_20>& weights);

 private:
  struct Group {
    std::vector<NxNode*> Nodes;
    unsigned Count = 0;  // nodes
    // Sources per node: the size of the group before, and the bias.
    unsigned Width = 0;
    // The length of the nodes' rows (nx_rows::RowStride).
    unsigned Stride = 0;
    // The rows take the block loops.
    bool Blocks = false;
    // Batch learning: gradient sums, and iRPROP-'s steps and last signs,
    // Stride per node, sized on first use.
    std::vector<int64_t> Gradient;
    std::vector<FP12_20> Steps;
    std::vector<int8_t> Signs;
    // The group's outputs as the next group's inputs: one per node, then
    // FP_ONE for the bias, then zeros up to the next group's Stride.
    NxRowArray Values;
    // The last training pattern reached the group: its nodes' errors are
    // current. Otherwise they keep older errors and await recomputation.
    bool Reached = false;
  };

  bool CheckChain(const std::vector<NxBaseLayer*>& layers, bool byEpoch);
  bool IsPlainNode(const NxNode* node, bool output, bool byEpoch) const;
  bool FeedsExactly(const std::vector<NxNode*>& sources, const std::vector<NxNode*>& targets) const;
  void SizeGroups();
  // A node whose weights changed is stale, and so is everything downstream.
  void PassStaleOn();
  // Each group's Reached, as the nodes' flags say it.
  void MarkReached();

  void StoreInputs(const double* row);
  void Forward();
  void StoreTargets(const double* targets);
  bool Compare(double tolerance, NxErrorTotals* totals);
  void Learn();
  void OutputErrors();
  void HiddenErrors(Group& group, const Group& above);
  void TrainGroup(Group& group, const NxRowArray& inputs);
  void AccumulateGroup(Group& group, const NxRowArray& inputs);
  static bool AnyLearns(const Group& group);
  void BackPropagateAll();
  void AccumulateGradient(Group& group, const NxRowArray& inputs);
  void PrepareBatch(const NxRpropSettings* settings);
  void AddDecay(double decay, unsigned patterns);

  NxBackPropInputLayer* InputLayer = nullptr;
  NxBackPropOutputLayer* OutputLayer = nullptr;
  std::vector<NxNode*> InputNodes;
  // The first holds the inputs; the others follow in the order values flow.
  std::vector<Group> Groups;
  bool ByEpoch = false;
  // Since Build: a pattern has trained.
  bool TrainedSome = false;
  std::vector<int64_t> ErrorSums;
};
