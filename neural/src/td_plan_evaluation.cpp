// The temporal-difference plan: evaluation, by passing changes on or in one whole pass.
#include "td_plan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <limits>

#include "neural/td_node.h"
#include "saturation.h"
#include "transfer.h"

// Two routes give the same state. A few changed inputs pass their news on
// to the nodes that depend on them, which recompute in order. When every
// node is stale (after learning, say), or when so many inputs changed that
// nearly every node would be reached anyway, every node sums all its
// connections in one pass and nothing is passed on between them. That pass
// would tell nodes outside the plan of changes that never happened, so it
// waits for a network without any.
void NxTDPlan::Evaluate(const double* inputs) {
  const bool wasOutdated = Outdated;
  const bool everyNode = Outdated && Reload();
  CollectChangedInputs(inputs);
  const bool manyChanged = NumChanged > 0 && NumChanged * 4 >= NumInputs && !wasOutdated && !AnyOutsideTargets;
  if (everyNode || manyChanged) {
    StoreChangedInputs(false);
    RecomputeAll();
    return;
  }
  StoreChangedInputs(true);
  // Lowest stale position first; a recomputed node marks only later ones.
  uint64_t* stale = Stale.data();
  for (uint32_t word = 0; word < Stale.size(); ++word)
    for (uint64_t bits; (bits = stale[word]) != 0;) {
      stale[word] = bits & (bits - 1);
      Recompute(word * 64 + static_cast<uint32_t>(__builtin_ctzll(bits)));
    }
}

// Takes the forward state from the nodes. A node that is stale there is
// stale here; the lazy recomputation would give it the full sum of its
// connections, and so does the plan, for every node, the first time.
bool NxTDPlan::Reload() {
  UnsafeInputs = 0;
  for (uint32_t k = 0; k < NumInputs; ++k) {
    Value[k] = Inputs[k]->Output;
    HasValue[k] = Inputs[k]->HasInput;
    GivenInput[k] = std::numeric_limits<double>::quiet_NaN();  // equal to nothing
  }
  bool everyNode = true;
  std::fill(Stale.begin(), Stale.end(), 0);
  for (uint32_t p = 0; p < Nodes.size(); ++p) {
    NxTDNode* node = Nodes[p];
    Value[SlotOf(p)] = node->Output;
    Net[p] = node->NetValue;
    if (node->NewInput) MarkStale(p);
    everyNode = everyNode && node->NewInput;
    SumAll[p] = 1;
    if (IsLogic[p]) continue;
    const FP12_20* w = Row[p] = node->Weights.data();
    const uint32_t* edgeTarget = EdgeTarget.data() + SourceBegin[p];
    for (uint32_t i = 0; i < node->NumSources; ++i) TargetWeight[edgeTarget[i]] = w[i];
  }
  for (uint32_t k = 0; k < NumInputs; ++k) UnsafeInputs += nx_td_rows::OutsideUnitRange(Value[k]);
  Outdated = false;
  return everyNode;
}

namespace {

// Bit j set when inputs[j] != given[j], for j < count <= 64: most
// evaluations change two inputs of many, and a fresh vector changes about
// half of them in no order a branch could foresee, so the changed ones are
// found first and visited in one loop.
inline uint64_t DifferingInputs(const double* inputs, const double* given, uint32_t count) {
  uint64_t differing = 0;
  uint32_t j = 0;
#if defined(__SSE2__)
  for (; j + 2 <= count; j += 2)
    differing |= uint64_t(_mm_movemask_pd(_mm_cmpneq_pd(_mm_loadu_pd(inputs + j), _mm_loadu_pd(given + j)))) << j;
#endif
  for (; j < count; ++j) differing |= uint64_t{inputs[j] != given[j]} << j;
  return differing;
}

}  // namespace

// An input that keeps its value changes nothing downstream, except for the
// very first value, since nothing has been computed from it yet. An equal
// double gives an equal fixed-point value.
void NxTDPlan::CollectChangedInputs(const double* inputs) {
  double* given = GivenInput.data();
  const FP12_20* value = Value.data();
  const uint8_t* hasValue = HasValue.data();
  uint32_t* changed = ChangedInputs.data();
  uint32_t count = 0;
  for (uint32_t base = 0; base < NumInputs; base += 64)
    for (uint64_t differing = DifferingInputs(inputs + base, given + base, std::min(NumInputs - base, 64u));
         differing; differing &= differing - 1) {
      const uint32_t k = base + static_cast<uint32_t>(__builtin_ctzll(differing));
      given[k] = inputs[k];
      const FP12_20 fixed = ToFixed(inputs[k]);
      if (fixed == value[k] && hasValue[k]) continue;
      GivenFixed[k] = fixed;
      changed[count++] = k;
    }
  NumChanged = count;
}

void NxTDPlan::StoreChangedInputs(bool passOn) {
  FP12_20* value = Value.data();
  uint8_t* hasValue = HasValue.data();
  for (uint32_t n = 0; n < NumChanged; ++n) {
    const uint32_t k = ChangedInputs[n];
    const FP12_20 fixed = GivenFixed[k];
    UnsafeInputs += nx_td_rows::OutsideUnitRange(fixed);
    UnsafeInputs -= nx_td_rows::OutsideUnitRange(value[k]);
    value[k] = fixed;
    hasValue[k] = 1;
    NxNode* input = Inputs[k];
    input->HasInput = true;
    input->Output = fixed;
    if (passOn) NotifyTargets(k);
  }
  if (AnyOutsideTargets)
    for (uint32_t n = 0; n < NumChanged; ++n) NotifyOutsideTargets(ChangedInputs[n]);
}

// The products are not recorded: each node sums them all again when it is
// next recomputed by itself. The arrays are taken once: the flag stores
// through the nodes would otherwise make the compiler fetch them again for
// every node.
void NxTDPlan::RecomputeAll() {
  std::fill(Stale.begin(), Stale.end(), 0);
  std::fill(SumAll.begin(), SumAll.end(), 1);
  const uint32_t count = static_cast<uint32_t>(Nodes.size());
  int64_t* const net = Net.data();
  FP12_20* const output = Value.data() + NumInputs;
  NxTDNode* const* const nodes = Nodes.data();
  const NODETYPE* const type = Type.data();
  for (uint32_t p = 0; p < count; ++p) {
    net[p] = IsLogic[p] ? LogicNetValue(p) : WholeNetSum(p);
    const FP12_20 clamped = nx_saturation::Clamp(net[p]);
    output[p] = nx_transfer::Output(type[p], clamped);
    Publish(nodes[p], clamped, output[p]);
  }
  if (AnyOutsideTargets)
    for (uint32_t p = 0; p < count; ++p) NotifyOutsideTargets(SlotOf(p));
}

[[gnu::always_inline]] inline void NxTDPlan::Recompute(uint32_t position) {
  if (IsLogic[position]) {
    Net[position] = LogicNetValue(position);
  } else if (SumAll[position]) {
    Net[position] = FullNetSum(position);
    SumAll[position] = 0;
  }
  Finish(position);
}

[[gnu::always_inline]] inline void NxTDPlan::Publish(NxTDNode* node, FP12_20 net, FP12_20 output) {
  node->NetValue = net;
  node->Output = output;
  node->NewInput = false;
}

[[gnu::always_inline]] inline void NxTDPlan::Finish(uint32_t position) {
  const FP12_20 net = nx_saturation::Clamp(Net[position]);
  const FP12_20 output = nx_transfer::Output(Type[position], net);
  Publish(Nodes[position], net, output);
  const uint32_t slot = SlotOf(position);
  // Targets in the plan would recompute the very values they hold when the
  // output stays (saturated nodes often do); nodes outside the plan only
  // learn that they are stale, as they would from the lazy recomputation.
  if (output != Value[slot]) {
    Value[slot] = output;
    NotifyTargets(slot);
  }
  NotifyOutsideTargets(slot);
}

FP12_20 NxTDPlan::LogicNetValue(uint32_t position) const {
  const uint32_t begin = SourceBegin[position], end = SourceBegin[position + 1];
  const uint32_t* sourceValue = SourceValue.data();
  const FP12_20* value = Value.data();
  int64_t sum = 0;
  for (uint32_t e = begin; e < end; ++e) sum += value[sourceValue[e]];
  return nx_transfer::LogicNet(sum, end - begin);
}

int64_t NxTDPlan::FullNetSum(uint32_t position) {
  const uint32_t begin = SourceBegin[position], count = SourceBegin[position + 1] - begin;
  const uint32_t* sourceValue = SourceValue.data() + begin;
  const uint32_t* edgeTarget = EdgeTarget.data() + begin;
  const FP12_20* value = Value.data();
  const FP12_20* weights = Row[position];
  FP12_20* terms = Term.data();
  int64_t sum = weights[count];
  for (uint32_t i = 0; i < count; ++i) {
    const FP12_20 term = nx_saturation::Mul(weights[i], value[sourceValue[i]]);
    terms[edgeTarget[i]] = term;
    sum += term;
  }
  return sum;
}

int64_t NxTDPlan::WholeNetSum(uint32_t position) const {
  const uint32_t begin = SourceBegin[position], count = SourceBegin[position + 1] - begin;
  const FP12_20* weights = Row[position];
  const uint32_t* sourceValue = SourceValue.data() + begin;
  const FP12_20* value = Value.data();
  int64_t sum = weights[count];
  if (UnsafeInputs || AnyLinear) {
    for (uint32_t i = 0; i < count; ++i) sum += nx_saturation::Mul(weights[i], value[sourceValue[i]]);
    return sum;
  }
  // Short rows cost less than the call.
  if (count < WIDE_FAN_IN) {
    for (uint32_t i = 0; i < count; ++i) sum += FpMul(weights[i], value[sourceValue[i]]);
    return sum;
  }
  return sum + Gather(weights, sourceValue, value, count);
}

// Logic targets carry zero weights here: the update leaves their net input
// alone, and they average their sources when recomputed.
[[gnu::always_inline]] inline void NxTDPlan::NotifyTargets(uint32_t slot) {
  const FP12_20 value = Value[slot];
  const uint32_t begin = TargetBegin[slot], end = TargetBegin[slot + 1];
  const uint32_t* owners = TargetOwner.data();
  const FP12_20* weights = TargetWeight.data();
  FP12_20* terms = Term.data();
  int64_t* nets = Net.data();
  auto passOn = [&](auto product) {
    for (uint32_t t = begin; t < end; ++t) {
      const uint32_t owner = owners[t];
      const FP12_20 term = product(weights[t]);
      nets[owner] += int64_t{term} - terms[t];
      terms[t] = term;
    }
  };
  for (uint32_t m = StaleBegin[slot]; m < StaleBegin[slot + 1]; ++m) Stale[StaleWord[m]] |= StaleBits[m];
  // No product of a value in (-1, 1] can saturate.
  if (nx_td_rows::OutsideUnitRange(value))
    passOn([value](FP12_20 weight) { return nx_saturation::Mul(weight, value); });
  else
    passOn([value](FP12_20 weight) { return FpMul(weight, value); });
}

void NxTDPlan::NotifyOutsideTargets(uint32_t slot) {
  if (!AnyOutsideTargets) return;
  for (NxNode* target : OutsideTargets[slot]) target->SourceChanged();
}
