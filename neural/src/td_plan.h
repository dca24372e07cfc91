#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "neural/fixed.h"

class NxNode;
class NxTDNode;

// The nodes a temporal-difference network's outputs depend on, input nodes
// excepted, laid out once in an order where every node comes after its
// sources, with their wiring in flat arrays. The training passes walk this
// order instead of recursing through the nodes.
//
// Errors flow backwards by push: walking the order from the end, every node
// has received the contributions of all its targets before it adds its own
// to its sources. Sums wrap in 32 bits, so the order in which contributions
// arrive does not change the result.
class NxTDPlan {
 public:
  explicit NxTDPlan(const std::vector<NxTDNode*>& outputNodes);

  // The observation step: every node's error and slope, then its traces
  // extended and the change of its weights accumulated.
  void Observe();
  // The end of a sequence: the output nodes hold the outcome errors already;
  // every node learns from its accumulated changes and traces.
  void TrainOnOutcome();

 private:
  static constexpr uint32_t NO_SLOT = UINT32_MAX;

  void PlaceAfterSources(const std::vector<NxTDNode*>& outputNodes);
  // The sum of the errors the node's targets outside the plan pass back.
  FP12_20 OutsideError(uint32_t position) const;
  void CollectError(uint32_t position);
  // A logic node passes its error times its slope to every source.
  void PushLogicError(uint32_t position);
  void ObserveWeighted(uint32_t position);
  void LearnWeighted(uint32_t position);

  std::vector<NxTDNode*> Nodes;
  std::vector<bool> IsOutput;
  // Sources of Nodes[p] are entries SourceBegin[p]..SourceBegin[p + 1] - 1;
  // SourceSlot names the source's position, or the scratch slot for inputs.
  std::vector<uint32_t> SourceBegin;
  std::vector<uint32_t> SourceSlot;
  // Targets outside the plan (nodes no output depends on) by position,
  // each with the node's index among the target's sources; nearly always
  // empty.
  std::vector<std::vector<std::pair<NxNode*, unsigned>>> OutsideTargets;
  // Incoming errors by position, plus one scratch slot that is never read.
  std::vector<FP12_20> IncomingError;
};
