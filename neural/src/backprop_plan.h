#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
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

// Rows start on a cache line, so that no block of eight values is split
// between two lines.
template <class T>
struct NxCacheLineAllocator {
  using value_type = T;
  static constexpr std::align_val_t LINE{64};
  NxCacheLineAllocator() = default;
  template <class U>
  NxCacheLineAllocator(const NxCacheLineAllocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), LINE)); }
  void deallocate(T* p, size_t) { ::operator delete(p, LINE); }
  template <class U>
  bool operator==(const NxCacheLineAllocator<U>&) const { return true; }
};

using NxRowArray = std::vector<FP12_20, NxCacheLineAllocator<FP12_20>>;

// Back-propagation training over flat arrays, for the common network whose
// nodes form a chain of fully connected groups: every node of a group takes
// the whole group before it as its sources, in order, and feeds only the
// group after it. Each group keeps its nodes' values, errors and weights
// side by side, so a pattern is a few passes over rows instead of a walk
// through scattered nodes and their bookkeeping.
//
// A training call loads the nodes' state into the plan, trains on it and
// stores it back, leaving every node exactly as training node by node would
// have left it: the same weights and changes, the same last outputs, errors
// and flags. Anything else that reads or changes the nodes (a rate schedule,
// noise) runs between a Store and a Load.
class NxBackPropPlan {
 public:
  // Lays out the network anew; false when it is not a chain the plan can
  // run (other wiring, logic nodes, automatic rates, mixed training modes,
  // classes that replace a node's operations), and then nothing is loaded.
  bool Build(NxBackPropInputLayer* input, NxBackPropOutputLayer* output, const std::vector<NxBaseLayer*>& layers,
             bool byEpoch);
  // Node state into the plan, and back.
  void Load();
  void Store();

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
  // Outputs for the inputs alone; the nodes learn of them at the next Store.
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
    // Row length: Width + 1, rounded up to whole vector blocks for wide
    // rows; the padding holds zero weights against zero inputs.
    unsigned Stride = 0;
    // The rows take the block loops.
    bool Blocks = false;
    NxRowArray Weights;  // by node, Stride per node
    NxRowArray Changes;  // the previous change of every weight
    NxRowArray Accum;    // learning by epoch: changes so far
    // Batch learning: gradient sums, and iRPROP-'s steps and last signs,
    // sized on first use.
    std::vector<int64_t> Gradient;
    std::vector<FP12_20> Steps;
    std::vector<int8_t> Signs;
    // The group's outputs as the next group's inputs: one per node, then
    // FP_ONE for the bias, then zeros up to the next group's Stride.
    NxRowArray Values;
    std::vector<FP12_20> Net;
    std::vector<FP12_20> Error;
    std::vector<FP12_20> Slope;
    std::vector<FP12_20> Rate;
    std::vector<FP12_20> Momentum;
    std::vector<NODETYPE> Type;
    // The node's weights changed since its output was computed.
    std::vector<uint8_t> Stale;
    // The last training pattern reached the group: its nodes' errors are
    // current. Otherwise they keep older errors and await recomputation.
    bool Reached = false;
  };

  bool CheckChain(const std::vector<NxBaseLayer*>& layers, bool byEpoch);
  bool IsPlainNode(const NxNode* node, bool output, bool byEpoch) const;
  bool FeedsExactly(const std::vector<NxNode*>& sources, const std::vector<NxNode*>& targets) const;
  void SizeGroups();
  void LoadGroup(Group& group);
  // Returns whether a node of the group or before it is stale.
  bool StoreGroup(Group& group, bool staleBefore);
  void StoreEnds();

  void StoreInputs(const double* row);
  void Forward();
  void StoreTargets(const double* targets);
  bool Compare(double tolerance, NxErrorTotals* totals);
  void Learn();
  void OutputErrors();
  void HiddenErrors(Group& group, const Group& above);
  // Pointers into the arrays are taken once per loop: the stale marks are
  // bytes, and a store through a byte pointer could change any array's
  // bookkeeping as far as the compiler knows.
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
  // Since the last Load: a pattern has been presented; one has trained.
  bool Presented = false;
  bool TrainedSome = false;
  std::vector<FP12_20> Targets;
  std::vector<double> Outputs;
  std::vector<int64_t> ErrorSums;
};
