// The temporal-difference plan: laying out the nodes and wiring the flat arrays.
#include "td_plan.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <utility>

#include "neural/td_node.h"

NxTDPlan::NxTDPlan(const std::vector<NxTDNode*>& outputNodes, const std::vector<NxNode*>& inputNodes)
    : Inputs(inputNodes), NumInputs(static_cast<uint32_t>(inputNodes.size())) {
  PlaceAfterSources(outputNodes);
  Wire();
  const size_t slots = NumInputs + Nodes.size();
  Value.assign(slots, 0);
  HasValue.assign(slots, 0);
  GivenInput.assign(NumInputs, std::numeric_limits<double>::quiet_NaN());
  Net.assign(Nodes.size(), 0);
  Stale.assign(std::max<size_t>((Nodes.size() + 63) / 64, 1), 0);
  SumAll.assign(Nodes.size(), 1);
  Row.assign(Nodes.size(), nullptr);
  GivenFixed.assign(NumInputs, 0);
  ChangedInputs.assign(NumInputs, 0);
  IncomingError.assign(Nodes.size(), 0);
  unsigned widest = 0;
  for (NxTDNode* node : Nodes) widest = std::max(widest, node->NumSources);
  ConnectionInputs.assign(widest + 1, 0);
  // From now on the nodes report changes made behind the plan's back.
  for (NxNode* node : Inputs) node->PlanOutdated = &Outdated;
  for (NxNode* node : Nodes) node->PlanOutdated = &Outdated;
}

void NxTDPlan::Wire() {
  SlotMap slot;
  for (uint32_t k = 0; k < NumInputs; ++k) slot[Inputs[k]] = k;
  for (uint32_t p = 0; p < Nodes.size(); ++p) slot[Nodes[p]] = SlotOf(p);
  WireSources(slot);
  WireTargets();
  WireOutsideTargets(slot);
}

void NxTDPlan::WireSources(const SlotMap& slot) {
  for (NxTDNode* node : Nodes) {
    SourceBegin.push_back(static_cast<uint32_t>(SourceValue.size()));
    ErrorBegin.push_back(static_cast<uint32_t>(ErrorSource.size()));
    for (unsigned i = 0; i < node->NumSources; ++i) {
      // Every source is an input node or a node of the plan.
      uint32_t v = slot.at(node->SourceNodes[i]);
      SourceValue.push_back(v);
      if (v >= NumInputs) {
        ErrorSource.push_back(i);
        ErrorSlot.push_back(v - NumInputs);
      }
    }
    IsOutput.push_back(dynamic_cast<NxTDOutputNode*>(node) != nullptr);
    IsLogic.push_back(node->IsLogic());
    Type.push_back(node->GetNodeType());
    AnyLinear = AnyLinear || node->GetNodeType() == LINEAR;
  }
  SourceBegin.push_back(static_cast<uint32_t>(SourceValue.size()));
  ErrorBegin.push_back(static_cast<uint32_t>(ErrorSource.size()));
  for (uint32_t p = 0; p < Nodes.size(); ++p) {
    bool row = true;
    for (uint32_t e = ErrorBegin[p] + 1; e < ErrorBegin[p + 1]; ++e)
      row = row && ErrorSource[e] == ErrorSource[e - 1] + 1 && ErrorSlot[e] == ErrorSlot[e - 1] + 1;
    ErrorRow.push_back(row);
  }
}

// The same connections seen from their sources.
void NxTDPlan::WireTargets() {
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> fed(NumInputs + Nodes.size());
  for (uint32_t p = 0; p < Nodes.size(); ++p)
    for (uint32_t e = SourceBegin[p]; e < SourceBegin[p + 1]; ++e) fed[SourceValue[e]].push_back({e, p});
  EdgeTarget.assign(SourceValue.size(), 0);
  for (const auto& connections : fed) {
    TargetBegin.push_back(static_cast<uint32_t>(TargetOwner.size()));
    StaleBegin.push_back(static_cast<uint32_t>(StaleWord.size()));
    for (auto [e, owner] : connections) {
      EdgeTarget[e] = static_cast<uint32_t>(TargetOwner.size());
      TargetOwner.push_back(owner);
      // The owners come in ascending order, so one word's bits are adjacent.
      if (StaleWord.size() == StaleBegin.back() || StaleWord.back() != owner / 64) {
        StaleWord.push_back(owner / 64);
        StaleBits.push_back(0);
      }
      StaleBits.back() |= uint64_t{1} << (owner % 64);
    }
  }
  TargetBegin.push_back(static_cast<uint32_t>(TargetOwner.size()));
  StaleBegin.push_back(static_cast<uint32_t>(StaleWord.size()));
  TargetWeight.assign(TargetOwner.size(), 0);
  Term.assign(TargetOwner.size(), 0);
}

void NxTDPlan::WireOutsideTargets(const SlotMap& slot) {
  OutsideTargets.resize(NumInputs + Nodes.size());
  auto collect = [&](NxNode* node, uint32_t v) {
    for (unsigned t = 0; t < node->NumTargets; ++t)
      if (!slot.count(node->TargetNodes[t])) OutsideTargets[v].push_back(node->TargetNodes[t]);
    AnyOutsideTargets = AnyOutsideTargets || !OutsideTargets[v].empty();
  };
  for (uint32_t k = 0; k < NumInputs; ++k) collect(Inputs[k], k);
  for (uint32_t p = 0; p < Nodes.size(); ++p) collect(Nodes[p], SlotOf(p));
}

// Depth first through the sources: a node is placed once all its sources
// are. A node counts as entered before its sources are visited, which also
// keeps a malformed cycle from looping.
void NxTDPlan::PlaceAfterSources(const std::vector<NxTDNode*>& outputNodes) {
  std::unordered_set<NxTDNode*> entered;
  std::vector<std::pair<NxTDNode*, unsigned>> stack;
  auto enter = [&](NxTDNode* node) {
    if (node->IsInputNode || !entered.insert(node).second) return;
    stack.push_back({node, 0});
  };
  for (NxTDNode* output : outputNodes) {
    enter(output);
    while (!stack.empty()) {
      auto [node, next] = stack.back();
      if (next < node->NumSources) {
        ++stack.back().second;
        enter(static_cast<NxTDNode*>(node->SourceNodes[next]));
        continue;
      }
      Nodes.push_back(node);
      stack.pop_back();
    }
  }
}
