// The temporal-difference plan: the observation step and learning at the end of a sequence.
#include "td_plan.h"

#include <algorithm>

#include "neural/td_node.h"
#include "trace_rows.h"

// A node's error is what its targets pass back, and its slope that of its
// current net input; an output node's error is set elsewhere. Nodes outside
// the plan pass nothing back: no error ever reaches them from the outputs.
void NxTDPlan::CollectError(uint32_t position) {
  NxTDNode* node = Nodes[position];
  node->ErrorDirty = false;
  node->ErrorSum = IncomingError[position];
  node->ComputeDerivative();
}

void NxTDPlan::PushLogicError(uint32_t position) {
  NxTDNode* node = Nodes[position];
  PushError(position, FpMul(node->ErrorSum, node->Derivative), nullptr);
}

// Only connections from nodes of the plan carry errors back: what an input
// node would receive is never read.
void NxTDPlan::PushError(uint32_t position, FP12_20 delta, const FP12_20* weights) {
  const uint32_t begin = ErrorBegin[position], end = ErrorBegin[position + 1];
  const uint32_t* source = ErrorSource.data();
  const uint32_t* slot = ErrorSlot.data();
  FP12_20* incoming = IncomingError.data();
  if (!weights) {
    for (uint32_t e = begin; e < end; ++e) incoming[slot[e]] = FpAdd(incoming[slot[e]], delta);
    return;
  }
  if (ErrorRow[position] && begin != end) {
    nx_rows::AddScaled(incoming + slot[begin], weights + source[begin], end - begin, delta);
    return;
  }
  for (uint32_t e = begin; e < end; ++e)
    incoming[slot[e]] = FpAdd(incoming[slot[e]], FpMul(delta, weights[source[e]]));
}

// A weighted node's error share goes back to each source through its
// weight. The change so far grows by -error times each trace as it stood
// before this step, and the traces decay and take the new gradient: the
// source's output, or 1 for the bias.
void NxTDPlan::ObserveWeighted(uint32_t position) {
  NxTDNode* node = Nodes[position];
  const FP12_20 delta = FpMul(node->ErrorSum, node->Derivative);
  const unsigned count = node->NumSources;
  PushError(position, delta, node->Weights.data());
  // The outputs changed behind the plan's back; the nodes have them.
  if (Outdated) return node->ExtendTraces();
  const uint32_t* sourceValue = SourceValue.data() + SourceBegin[position];
  FP12_20* inputs = ConnectionInputs.data();
  const FP12_20* value = Value.data();
  for (unsigned i = 0; i < count; ++i) inputs[i] = value[sourceValue[i]];
  inputs[count] = FP_ONE;  // FpMul(slope, FP_ONE) is the slope itself
  nx_rows::ExtendTraces(node->WeightAccum.data(), node->Traces.Data(), inputs, count + 1, FpNeg(node->ErrorSum),
                        node->PersistenceFP, node->Derivative);
}

// At the end of a sequence a weighted node's error share goes back through
// its weights as they stood; then the node learns from its sequence. The
// news of the change stops at once at targets of the plan, which learned
// earlier in the same pass and are stale already.
void NxTDPlan::LearnWeighted(uint32_t position) {
  NxTDNode* node = Nodes[position];
  PushError(position, FpMul(node->ErrorSum, node->Derivative), node->Weights.data());
  node->LearnFromSequence();
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
