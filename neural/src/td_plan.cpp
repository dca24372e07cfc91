#include "td_plan.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "neural/td_node.h"

NxTDPlan::NxTDPlan(const std::vector<NxTDNode*>& outputNodes) {
  PlaceAfterSources(outputNodes);

  std::unordered_map<const NxNode*, uint32_t> position;
  for (uint32_t p = 0; p < Nodes.size(); ++p) position[Nodes[p]] = p;
  const uint32_t scratch = static_cast<uint32_t>(Nodes.size());

  for (NxTDNode* node : Nodes) {
    SourceBegin.push_back(static_cast<uint32_t>(SourceSlot.size()));
    for (unsigned i = 0; i < node->NumSources; ++i) {
      auto found = position.find(node->SourceNodes[i]);
      SourceSlot.push_back(found == position.end() ? scratch : found->second);
    }
    OutsideTargets.emplace_back();
    for (unsigned t = 0; t < node->NumTargets; ++t)
      if (!position.count(node->TargetNodes[t]))
        OutsideTargets.back().push_back({node->TargetNodes[t], node->TargetIndices[t]});
    IsOutput.push_back(dynamic_cast<NxTDOutputNode*>(node) != nullptr);
  }
  SourceBegin.push_back(static_cast<uint32_t>(SourceSlot.size()));
  IncomingError.assign(Nodes.size() + 1, 0);
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

FP12_20 NxTDPlan::OutsideError(uint32_t position) const {
  uint32_t sum = 0;
  for (auto [target, index] : OutsideTargets[position]) sum += static_cast<uint32_t>(target->FractionalError(index));
  return static_cast<FP12_20>(sum);
}

// A node's error is what its targets pass back, and its slope that of its
// current net input; an output node's error is set elsewhere.
void NxTDPlan::CollectError(uint32_t position) {
  NxTDNode* node = Nodes[position];
  node->ErrorDirty = false;
  node->ErrorSum = FpAdd(IncomingError[position], OutsideError(position));
  node->ComputeDerivative();
}

void NxTDPlan::PushLogicError(uint32_t position) {
  NxTDNode* node = Nodes[position];
  const FP12_20 delta = FpMul(node->ErrorSum, node->Derivative);
  const uint32_t* slot = SourceSlot.data() + SourceBegin[position];
  FP12_20* incoming = IncomingError.data();
  for (unsigned i = 0, n = node->NumSources; i < n; ++i) incoming[slot[i]] = FpAdd(incoming[slot[i]], delta);
}

// One pass over a weighted node's connections: its error share goes back to
// each source, the change so far grows by -error times the trace as it stood
// before this step, and the trace decays and takes the new gradient.
void NxTDPlan::ObserveWeighted(uint32_t position) {
  NxTDNode* node = Nodes[position];
  const FP12_20 delta = FpMul(node->ErrorSum, node->Derivative);
  const FP12_20 negError = FpNeg(node->ErrorSum);
  const FP12_20 slope = node->Derivative;
  const FP12_20 persistence = node->PersistenceFP;
  const unsigned count = node->NumSources;
  const uint32_t* slot = SourceSlot.data() + SourceBegin[position];
  NxNode* const* sources = count ? static_cast<NxNode**>(node->SourceNodes) : nullptr;
  const FP12_20* w = node->Weights.Data();
  FP12_20* accum = node->WeightAccum.Data();
  FP12_20* traces = node->Traces.Data();
  FP12_20* incoming = IncomingError.data();
  for (unsigned i = 0; i < count; ++i) {
    incoming[slot[i]] = FpAdd(incoming[slot[i]], FpMul(delta, w[i]));
    const FP12_20 trace = traces[i];
    accum[i] = FpAdd(accum[i], FpMul(negError, trace));
    traces[i] = FpAdd(FpMul(trace, persistence), FpMul(slope, sources[i]->Output));
  }
  accum[count] = FpAdd(accum[count], FpMul(negError, traces[count]));
  traces[count] = FpAdd(FpMul(traces[count], persistence), slope);
}

// One pass over a weighted node's connections at the end of a sequence: the
// error share goes back through the weight as it stood, then the weight
// takes its accumulated change, completed by this last error times the
// trace. Traces and accumulators start over.
void NxTDPlan::LearnWeighted(uint32_t position) {
  NxTDNode* node = Nodes[position];
  const FP12_20 delta = FpMul(node->ErrorSum, node->Derivative);
  const FP12_20 negError = FpNeg(node->ErrorSum);
  const FP12_20 rate = node->LearningRateFP;
  const unsigned count = node->NumSources;
  const uint32_t* slot = SourceSlot.data() + SourceBegin[position];
  FP12_20* w = node->Weights.Data();
  FP12_20* accum = node->WeightAccum.Data();
  FP12_20* traces = node->Traces.Data();
  FP12_20* incoming = IncomingError.data();
  for (unsigned i = 0; i <= count; ++i) {
    if (i < count) incoming[slot[i]] = FpAdd(incoming[slot[i]], FpMul(delta, w[i]));
    const FP12_20 change = FpAdd(accum[i], FpMul(negError, traces[i]));
    w[i] = FpAdd(w[i], FpMul(rate, change));
    traces[i] = 0;
    accum[i] = 0;
  }
  node->WeightsChanged();
}

void NxTDPlan::Observe() {
  std::fill(IncomingError.begin(), IncomingError.end(), 0);
  for (uint32_t p = static_cast<uint32_t>(Nodes.size()); p-- > 0;) {
    NxTDNode* node = Nodes[p];
    node->Trained = true;
    if (IsOutput[p]) {
      // The temporal difference: the last prediction against this one.
      node->ErrorDirty = false;
      node->ComputeDerivative();
      node->ErrorSum = FpSub(node->LastOutput, node->Output);
    } else {
      CollectError(p);
    }
    if (node->IsWeighted())
      ObserveWeighted(p);
    else
      PushLogicError(p);
    node->LastOutput = node->Output;
    node->SequenceStart = false;
  }
}

// Every error is collected before any weight it depends on changes: a node
// passes its error back before it learns, and its targets came earlier.
// The output nodes keep the slope of their last observation.
void NxTDPlan::TrainOnOutcome() {
  std::fill(IncomingError.begin(), IncomingError.end(), 0);
  for (uint32_t p = static_cast<uint32_t>(Nodes.size()); p-- > 0;) {
    NxTDNode* node = Nodes[p];
    node->Trained = true;
    if (!IsOutput[p]) CollectError(p);
    node->LastOutput = 0;
    node->SequenceStart = true;
    // May rescale the learning rate this very outcome uses.
    if (node->AutoRates) node->CountForAutoRates();
    if (node->IsWeighted())
      LearnWeighted(p);
    else
      PushLogicError(p);
  }
}
