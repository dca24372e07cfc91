#include "td_plan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "neural/td_node.h"
#include "saturation.h"
#include "trace_rows.h"
#include "transfer.h"

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
  Bias.assign(Nodes.size(), 0);
  Weight.assign(SourceValue.size(), 0);
  ChangedInputs.reserve(NumInputs);
  IncomingError.assign(Nodes.size(), 0);
  unsigned widest = 0;
  for (NxTDNode* node : Nodes) widest = std::max(widest, node->NumSources);
  ConnectionInputs.assign(widest + 1, 0);
  FormBlocks();
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
  for (NxTDNode* node : Nodes) {
    bool passes = false;
    for (unsigned t = 0; t < node->NumTargets; ++t) {
      auto found = slot.find(node->TargetNodes[t]);
      passes = passes || found == slot.end() || IsLogic[found->second - NumInputs];
    }
    PassesNewsOn.push_back(passes);
  }
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
    bool sourceRow = true;
    for (uint32_t e = SourceBegin[p] + 1; e < SourceBegin[p + 1]; ++e)
      sourceRow = sourceRow && SourceValue[e] == SourceValue[e - 1] + 1;
    SourceRow.push_back(sourceRow);
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
  OwnerMasks.assign(fed.size(), OwnerMask{{0, 0}, {0, 0}});
  for (size_t v = 0; v < fed.size(); ++v) {
    const uint32_t begin = StaleBegin[v], words = StaleBegin[v + 1] - begin;
    TwoWordMasks = TwoWordMasks && words <= 2;
    if (words == 0 || words > 2) continue;
    OwnerMasks[v] = {{StaleWord[begin], StaleWord[begin + words - 1]}, {StaleBits[begin], 0}};
    if (words == 2) OwnerMasks[v].bits[1] = StaleBits[begin + 1];
  }
  TargetWeight.assign(TargetOwner.size(), 0);
  Term.assign(TargetOwner.size(), 0);
}

void NxTDPlan::WireOutsideTargets(const SlotMap& slot) {
  OutsideTargets.resize(NumInputs + Nodes.size());
  auto collect = [&](NxNode* node, uint32_t v) {
    for (unsigned t = 0; t < node->NumTargets; ++t)
      if (!slot.count(node->TargetNodes[t])) OutsideTargets[v].push_back({node->TargetNodes[t], node->TargetIndices[t]});
    AnyOutsideTargets = AnyOutsideTargets || !OutsideTargets[v].empty();
  };
  for (uint32_t k = 0; k < NumInputs; ++k) collect(Inputs[k], k);
  for (uint32_t p = 0; p < Nodes.size(); ++p) collect(Nodes[p], SlotOf(p));
}

void NxTDPlan::FormBlocks() {
  const uint32_t count = static_cast<uint32_t>(Nodes.size());
  BlockAt.assign(count, 0);
  InBlock.assign(count, 0);
  EdgeBlock.assign(SourceValue.size(), 0);
  auto sources = [this](uint32_t p) { return SourceBegin[p + 1] - SourceBegin[p]; };
  auto fedBefore = [this](uint32_t p, uint32_t first) {
    for (uint32_t e = SourceBegin[p]; e < SourceBegin[p + 1]; ++e)
      if (SourceValue[e] >= SlotOf(first)) return false;
    return true;
  };
  size_t widest = 0;
  for (uint32_t p = 0; p < count;) {
    const uint32_t n = sources(p);
    uint32_t q = p;
    if (!IsLogic[p] && n > 0)
      while (q < count && !IsLogic[q] && sources(q) * 2 >= n && sources(q) <= 2 * n && fedBefore(q, p)) ++q;
    if (q - p < MIN_BLOCK) {
      p = std::max(q, p + 1);
      continue;
    }
    const uint32_t lanes = (q - p + nx_td_rows::BLOCK_LANES - 1) / nx_td_rows::BLOCK_LANES * nx_td_rows::BLOCK_LANES;
    SumBlock block{p, q - p, 0, lanes, static_cast<uint32_t>(BlockWeight.size())};
    for (uint32_t r = p; r < q; ++r) block.sources = std::max(block.sources, sources(r));
    BlockWeight.resize(BlockWeight.size() + size_t{block.sources} * block.lanes, 0);
    BlockSlot.resize(BlockWeight.size(), 0);
    for (uint32_t j = 0; j < block.count; ++j)
      for (uint32_t i = 0; i < sources(p + j); ++i) {
        BlockSlot[block.offset + i * block.lanes + j] = SourceValue[SourceBegin[p + j] + i];
        EdgeBlock[SourceBegin[p + j] + i] = block.offset + i * block.lanes + j;
      }
    for (uint32_t j = 0; j < block.count; ++j) InBlock[p + j] = 1;
    Blocks.push_back(block);
    BlockAt[p] = static_cast<uint32_t>(Blocks.size());
    widest = std::max(widest, size_t{block.lanes});
    p = q;
  }
  BlockSum.assign(widest, 0);
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
  const bool manyChanged =
      !ChangedInputs.empty() && ChangedInputs.size() * 4 >= NumInputs && !wasOutdated && !AnyOutsideTargets;
  if (everyNode || manyChanged) {
    for (uint32_t k : ChangedInputs) StoreInput(k, false);
    RecomputeAll();
    return;
  }
  for (uint32_t k : ChangedInputs) StoreInput(k, true);
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
    const FP12_20* w = node->Weights.Data();
    std::copy(w, w + node->NumSources, Weight.begin() + SourceBegin[p]);
    const uint32_t* edgeTarget = EdgeTarget.data() + SourceBegin[p];
    if (InBlock[p]) {
      const uint32_t* edgeBlock = EdgeBlock.data() + SourceBegin[p];
      for (uint32_t i = 0; i < node->NumSources; ++i) {
        TargetWeight[edgeTarget[i]] = w[i];
        BlockWeight[edgeBlock[i]] = w[i];
      }
    } else {
      for (uint32_t i = 0; i < node->NumSources; ++i) TargetWeight[edgeTarget[i]] = w[i];
    }
    Bias[p] = w[node->NumSources];
    // The node's own record of its products goes stale as the plan
    // recomputes; should the node ever recompute by itself, it sums afresh.
    node->FullRecompute = true;
  }
  for (uint32_t k = 0; k < NumInputs; ++k) UnsafeInputs += nx_td_rows::OutsideUnitRange(Value[k]);
  Outdated = false;
  return everyNode;
}

namespace {

// Bit j set when inputs[j] != given[j], for eight inputs at once: most
// evaluations change two inputs of many.
inline unsigned ChangedOfEight(const double* inputs, const double* given) {
  unsigned changed = 0;
#if defined(__SSE2__)
  for (unsigned j = 0; j < 8; j += 2)
    changed |= static_cast<unsigned>(_mm_movemask_pd(_mm_cmpneq_pd(_mm_loadu_pd(inputs + j), _mm_loadu_pd(given + j))))
               << j;
#else
  for (unsigned j = 0; j < 8; ++j) changed |= unsigned{inputs[j] != given[j]} << j;
#endif
  return changed;
}

}  // namespace

// An input that keeps its value changes nothing downstream, except for the
// very first value, since nothing has been computed from it yet. An equal
// double gives an equal fixed-point value.
void NxTDPlan::CollectChangedInputs(const double* inputs) {
  ChangedInputs.clear();
  double* given = GivenInput.data();
  auto consider = [&](uint32_t k) {
    given[k] = inputs[k];
    if (!HasValue[k] || ToFixed(inputs[k]) != Value[k]) ChangedInputs.push_back(k);
  };
  uint32_t base = 0;
  for (; base + 8 <= NumInputs; base += 8)
    for (unsigned changed = ChangedOfEight(inputs + base, given + base); changed; changed &= changed - 1)
      consider(base + static_cast<uint32_t>(__builtin_ctz(changed)));
  for (uint32_t k = base; k < NumInputs; ++k)
    if (inputs[k] != given[k]) consider(k);
}

void NxTDPlan::StoreInput(uint32_t k, bool passOn) {
  const FP12_20 fixed = ToFixed(GivenInput[k]);
  HasValue[k] = 1;
  UnsafeInputs += nx_td_rows::OutsideUnitRange(fixed);
  UnsafeInputs -= nx_td_rows::OutsideUnitRange(Value[k]);
  Value[k] = fixed;
  Inputs[k]->HasInput = true;
  Inputs[k]->Output = fixed;
  if (passOn) NotifyTargets(k);
  NotifyOutsideTargets(k);
}

// The products are not recorded: each node sums them all again when it is
// next recomputed by itself.
void NxTDPlan::RecomputeAll() {
  std::fill(Stale.begin(), Stale.end(), 0);
  const bool rows = !UnsafeInputs && !AnyLinear;
  const uint32_t count = static_cast<uint32_t>(Nodes.size());
  for (uint32_t p = 0; p < count;) {
    if (rows && BlockAt[p]) {
      const SumBlock& block = Blocks[BlockAt[p] - 1];
      // The lanes past the block's nodes sum zero weights and are never read.
      std::copy(Bias.begin() + p, Bias.begin() + p + block.count, BlockSum.begin());
      Rows.blockSums(BlockWeight.data() + block.offset, BlockSlot.data() + block.offset, Value.data(), block.sources,
                     block.lanes, BlockSum.data());
      for (uint32_t j = 0; j < block.count; ++j, ++p) {
        Net[p] = BlockSum[j];
        SumAll[p] = 1;
        Finish(p, false);
      }
      continue;
    }
    Net[p] = IsLogic[p] ? LogicNetValue(p) : WholeNetSum(p);
    SumAll[p] = 1;
    Finish(p, false);
    ++p;
  }
}

[[gnu::always_inline]] inline void NxTDPlan::Recompute(uint32_t position) {
  if (IsLogic[position]) {
    Net[position] = LogicNetValue(position);
  } else if (SumAll[position]) {
    Net[position] = FullNetSum(position);
    SumAll[position] = 0;
  }
  Finish(position, true);
}

[[gnu::always_inline]] inline void NxTDPlan::Finish(uint32_t position, bool passOn) {
  const FP12_20 net = nx_saturation::Clamp(Net[position]);
  const FP12_20 output =
      Type[position] == SIGMOID ? nx_td_rows::Sigmoid(net) : nx_transfer::Output(Type[position], net);
  NxTDNode* node = Nodes[position];
  node->NetValue = net;
  node->Output = output;
  node->NewInput = false;
  node->ChangedCount = 0;
  const uint32_t slot = SlotOf(position);
  // Targets in the plan would recompute the very values they hold when the
  // output stays (saturated nodes often do); nodes outside the plan only
  // learn that they are stale, as they would from the lazy recomputation.
  if (!passOn) {
    Value[slot] = output;
  } else if (output != Value[slot]) {
    Value[slot] = output;
    NotifyTargets(slot);
  }
  NotifyOutsideTargets(slot);
}

// Logic nodes average their sources' outputs; one without sources outputs 0.
FP12_20 NxTDPlan::LogicNetValue(uint32_t position) const {
  const uint32_t begin = SourceBegin[position], end = SourceBegin[position + 1];
  if (begin == end) return 0;
  const uint32_t* sourceValue = SourceValue.data();
  const FP12_20* value = Value.data();
  int64_t sum = 0;
  for (uint32_t e = begin; e < end; ++e) sum += value[sourceValue[e]];
  return static_cast<FP12_20>(static_cast<uint32_t>(sum / int64_t(end - begin)));
}

int64_t NxTDPlan::FullNetSum(uint32_t position) {
  const uint32_t* sourceValue = SourceValue.data();
  const FP12_20* value = Value.data();
  const FP12_20* weights = Weight.data();
  const uint32_t* edgeTarget = EdgeTarget.data();
  FP12_20* terms = Term.data();
  int64_t sum = Bias[position];
  for (uint32_t e = SourceBegin[position], end = SourceBegin[position + 1]; e < end; ++e) {
    const FP12_20 term = nx_saturation::Mul(weights[e], value[sourceValue[e]]);
    terms[edgeTarget[e]] = term;
    sum += term;
  }
  return sum;
}

int64_t NxTDPlan::WholeNetSum(uint32_t position) const {
  const uint32_t begin = SourceBegin[position], count = SourceBegin[position + 1] - begin;
  const FP12_20* weights = Weight.data() + begin;
  const uint32_t* sourceValue = SourceValue.data() + begin;
  const FP12_20* value = Value.data();
  int64_t sum = Bias[position];
  if (UnsafeInputs || AnyLinear) {
    for (uint32_t i = 0; i < count; ++i) sum += nx_saturation::Mul(weights[i], value[sourceValue[i]]);
    return sum;
  }
  // Short rows cost less than the call.
  if (count < WIDE_FAN_IN) {
    for (uint32_t i = 0; i < count; ++i) sum += FpMul(weights[i], value[sourceValue[i]]);
    return sum;
  }
  if (SourceRow[position]) return sum + Rows.rowSum(weights, value + sourceValue[0], count);
  return sum + Rows.gatherSum(weights, sourceValue, value, count);
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
  if (TwoWordMasks) {
    const OwnerMask& mask = OwnerMasks[slot];
    Stale[mask.word[0]] |= mask.bits[0];
    Stale[mask.word[1]] |= mask.bits[1];
  } else {
    for (uint32_t m = StaleBegin[slot]; m < StaleBegin[slot + 1]; ++m) Stale[StaleWord[m]] |= StaleBits[m];
  }
  // No product of a value in (-1, 1] can saturate.
  if (nx_td_rows::OutsideUnitRange(value))
    passOn([value](FP12_20 weight) { return nx_saturation::Mul(weight, value); });
  else
    passOn([value](FP12_20 weight) { return FpMul(weight, value); });
}

void NxTDPlan::NotifyOutsideTargets(uint32_t slot) {
  if (!AnyOutsideTargets) return;
  for (auto [target, index] : OutsideTargets[slot]) target->SourceChanged(index);
}

FP12_20 NxTDPlan::OutsideError(uint32_t position) const {
  if (!AnyOutsideTargets) return 0;
  uint32_t sum = 0;
  for (auto [target, index] : OutsideTargets[SlotOf(position)]) sum += static_cast<uint32_t>(target->FractionalError(index));
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
  NxNode* const* sources = count ? static_cast<NxNode**>(node->SourceNodes) : nullptr;
  FP12_20* inputs = ConnectionInputs.data();
  PushError(position, delta, node->Weights.Data());
  if (Outdated) {
    // The outputs changed behind the plan's back; the nodes have them.
    for (unsigned i = 0; i < count; ++i) inputs[i] = sources[i]->Output;
  } else {
    const uint32_t* sourceValue = SourceValue.data() + SourceBegin[position];
    const FP12_20* value = Value.data();
    for (unsigned i = 0; i < count; ++i) inputs[i] = value[sourceValue[i]];
  }
  inputs[count] = FP_ONE;  // FpMul(slope, FP_ONE) is the slope itself
  nx_rows::ExtendTraces(node->WeightAccum.Data(), node->Traces.Data(), inputs, count + 1, FpNeg(node->ErrorSum),
                        node->PersistenceFP, node->Derivative);
}

// At the end of a sequence a weighted node's error share goes back through
// its weights as they stood; then each weight takes its accumulated change,
// completed by this last error times the trace, and traces and
// accumulators start over.
void NxTDPlan::LearnWeighted(uint32_t position) {
  NxTDNode* node = Nodes[position];
  const FP12_20 delta = FpMul(node->ErrorSum, node->Derivative);
  const unsigned count = node->NumSources;
  FP12_20* w = node->Weights.Data();
  PushError(position, delta, w);
  nx_rows::LearnFromTraces(w, node->WeightAccum.Data(), node->Traces.Data(), count + 1, FpNeg(node->ErrorSum),
                           node->LearningRateFP);
  MarkWeightsChanged(position);
}

// What WeightsChanged does, without a call per connection when every target
// is a weighted node of the plan: those learn in the same pass and mark
// themselves, and only logic nodes and nodes outside the plan need the news
// passed on.
void NxTDPlan::MarkWeightsChanged(uint32_t position) {
  NxTDNode* node = Nodes[position];
  if (PassesNewsOn[position]) {
    node->WeightsChanged();
    return;
  }
  Outdated = true;
  node->FullRecompute = true;
  node->NewInput = true;
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
