#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "neural/fixed.h"
#include "neural/types.h"
#include "td_rows.h"

class NxNode;
class NxTDNode;

// The nodes a temporal-difference network's outputs depend on, laid out once
// in an order where every node comes after its sources, with their wiring in
// flat arrays. Evaluation and the training passes walk this order instead of
// recursing through the nodes, which lie scattered in memory.
//
// Errors flow backwards by push: walking the order from the end, every node
// has received the contributions of all its targets before it adds its own
// to its sources. Sums wrap in 32 bits, so the order in which contributions
// arrive does not change any result.
//
// For evaluation the plan keeps its own copy of the forward state (outputs,
// net inputs, the product of each connection) next to each other, and
// writes every recomputed output and net input through to its node. It
// reads the weights from the nodes' rows, and keeps only the layouts that
// passing a change on reads them in. A node whose
// weights or input change by any other route marks the copy outdated, and
// the next evaluation reloads it from the nodes. A new input
// vector, or the first evaluation after learning, goes through every node
// in one pass instead.
class NxTDPlan {
 public:
  NxTDPlan(const std::vector<NxTDNode*>& outputNodes, const std::vector<NxNode*>& inputNodes);
  NxTDPlan(const NxTDPlan&) = delete;
  NxTDPlan& operator=(const NxTDPlan&) = delete;

  // Stores one value per input node and recomputes every node that depends
  // on a changed input, leaving the nodes as the lazy recomputation would.
  void Evaluate(const double* inputs);
  // The observation step: every node's error and slope, then its traces
  // extended and the change of its weights accumulated.
  void Observe();
  // The end of a sequence: the output nodes hold the outcome errors already;
  // every node learns from its accumulated changes and traces.
  void TrainOnOutcome();

 private:
  using SlotMap = std::unordered_map<const NxNode*, uint32_t>;
  void PlaceAfterSources(const std::vector<NxTDNode*>& outputNodes);
  void Wire();
  void WireSources(const SlotMap& slot);
  void WireTargets();
  void WireOutsideTargets(const SlotMap& slot);

  // Forward state. Value slots number the input nodes first, then the
  // plan's nodes in order.
  uint32_t SlotOf(uint32_t position) const { return NumInputs + position; }
  // True when every node is stale.
  bool Reload();
  // Lists the inputs whose fixed-point value differs from the one stored.
  void CollectChangedInputs(const double* inputs);
  // passOn false: every target is due for a full sum already.
  void StoreChangedInputs(bool passOn);
  // Every node recomputed in order from full sums, nothing passed on.
  void RecomputeAll();
  // A stale node recomputed, its products updated already.
  void Recompute(uint32_t position);
  // Takes the node's net input as it stands, computes its output and
  // passes a changed one on.
  void Finish(uint32_t position);
  // The node is kept current with every recomputation.
  static void Publish(NxTDNode* node, FP12_20 net, FP12_20 output);
  FP12_20 LogicNetValue(uint32_t position) const;
  // Records every product for later updates.
  int64_t FullNetSum(uint32_t position);
  // Only the sum.
  int64_t WholeNetSum(uint32_t position) const;
  // Every target in the plan of a new value is stale; weighted targets
  // take the new product at once.
  void NotifyTargets(uint32_t slot);
  void NotifyOutsideTargets(uint32_t slot);

  // Training passes.
  void CollectError(uint32_t position);
  // A logic node passes its error times its slope to every source.
  void PushLogicError(uint32_t position);
  // Passes delta times each weight (or delta itself, with no weights) back
  // to the sources in the plan.
  void PushError(uint32_t position, FP12_20 delta, const FP12_20* weights);
  void ObserveWeighted(uint32_t position);
  void LearnWeighted(uint32_t position);

  std::vector<NxTDNode*> Nodes;
  std::vector<NxNode*> Inputs;
  uint32_t NumInputs;
  std::vector<uint8_t> IsOutput;
  std::vector<uint8_t> IsLogic;
  std::vector<NODETYPE> Type;  // by position, kept here to spare a visit to the node

  // Connection e of Nodes[p] is entry e of the flat arrays, for
  // SourceBegin[p] <= e < SourceBegin[p + 1], in the node's source order.
  std::vector<uint32_t> SourceBegin;
  // The connections whose source is a node of the plan, the only ones whose
  // error is ever read: ErrorSource[ErrorBegin[p]] ... are indices among
  // the sources of Nodes[p], ErrorSlot the matching positions.
  std::vector<uint32_t> ErrorBegin;
  std::vector<uint32_t> ErrorSource;
  std::vector<uint32_t> ErrorSlot;
  // By position: the sources in the plan are consecutive sources of the
  // node and lie at consecutive positions, so the push is one row.
  std::vector<uint8_t> ErrorRow;
  std::vector<uint32_t> SourceValue;  // the source's value slot
  // The connections each value slot feeds are the target entries
  // TargetBegin[v] <= t < TargetBegin[v + 1]; the state a new value touches
  // is laid out by target entry, so that passing it on reads rows.
  std::vector<uint32_t> TargetBegin;
  std::vector<uint32_t> TargetOwner;  // the position of the connection's node
  // The owners of each value slot's connections as bits of Stale: words
  // StaleWord[m] take StaleBits[m], StaleBegin[v] <= m < StaleBegin[v + 1].
  std::vector<uint32_t> StaleBegin;
  std::vector<uint32_t> StaleWord;
  std::vector<uint64_t> StaleBits;
  std::vector<uint32_t> EdgeTarget;   // by connection: its target entry
  // Targets outside the plan (nodes no output depends on) by value slot;
  // nearly always empty.
  std::vector<std::vector<NxNode*>> OutsideTargets;
  bool AnyOutsideTargets = false;

  // The copy of the forward state.
  bool Outdated = true;
  std::vector<FP12_20> Value;          // by value slot
  std::vector<uint8_t> HasValue;       // by value slot: an input stored yet
  std::vector<double> GivenInput;      // by input: the value last stored
  std::vector<FP12_20> GivenFixed;     // by changed input: its new fixed-point value
  std::vector<uint32_t> ChangedInputs;  // of the current evaluation, the first NumChanged
  uint32_t NumChanged = 0;
  // Inputs outside (-1, 1], whose products need the saturating route; the
  // outputs of nodes stay within [0, 1] unless some node is linear.
  uint32_t UnsafeInputs = 0;
  bool AnyLinear = false;
  // By position: the 64-bit sum of bias and products, so that updates in
  // any order stay exact; the node's net input is this sum held within the
  // fixed-point range.
  std::vector<int64_t> Net;
  std::vector<uint64_t> Stale;         // a bit by position
  void MarkStale(uint32_t position) { Stale[position / 64] |= uint64_t{1} << (position % 64); }
  // By position: the connection products are not known yet, so the next
  // recomputation sums them all.
  std::vector<uint8_t> SumAll;
  // By position: the node's own row of weights, one per source and then the
  // bias, taken afresh with every reload; logic nodes have none.
  std::vector<const FP12_20*> Row;
  std::vector<FP12_20> TargetWeight;   // the same weights by target entry
  std::vector<FP12_20> Term;           // by target entry
  nx_td_rows::GatherSum Gather = nx_td_rows::Select();
  // A node with fewer sources sums them in place: the call of the gathered sum
  // would cost more than it saves.
  static constexpr uint32_t WIDE_FAN_IN = 8;

  // Incoming errors by position.
  std::vector<FP12_20> IncomingError;
  // One node's source outputs side by side, and 1 for the bias.
  std::vector<FP12_20> ConnectionInputs;
};
