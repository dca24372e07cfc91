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
