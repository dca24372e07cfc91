#pragma once

#include <cstdint>

#include "neural/fixed.h"
#include "saturation.h"

class NxNode;
template <class T>
class NxPtrArray;

// The per-connection loops of back-propagation over one node's row of
// weights and the row of values feeding it, with the arithmetic of the
// nodes: every product is formed in 64 bits and shifted, every result that
// leaves the fixed-point range is held at its limit and noted in `held`.
//
// Rows whose length is a multiple of ROW_BLOCK may run eight connections at
// a time on processors with 256-bit integer vectors; the results are exactly
// those of the plain loops, which short rows keep, since the call and the
// padding would cost them more than they save.
namespace nx_rows {

// The outputs of `count` sources side by side, then FP_ONE for the bias: the
// row a node's own steps hand to the loops below. The buffer is the
// thread's, valid until the next call.
const FP12_20* SourceOutputs(const NxPtrArray<NxNode>& sources, unsigned count);

constexpr unsigned ROW_BLOCK = 8;

// The room a row of `length` entries takes: wide rows are padded with zeros
// to whole blocks for the block loops; narrow ones are not worth it.
inline unsigned RowStride(unsigned length) {
  return length < ROW_BLOCK ? length : (length + ROW_BLOCK - 1) / ROW_BLOCK * ROW_BLOCK;
}

// Whether rows of this length may take the block loops on this processor.
bool IsBlockLength(unsigned count);

// The sum of the products w[i] * x[i], each held within the range.
inline int64_t ProductSum(const FP12_20* w, const FP12_20* x, unsigned count, bool& held) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += nx_saturation::ClampNoting(nx_saturation::WideMul(w[i], x[i]), held);
  return sum;
}

// One training step of per-pattern learning: the change of every weight is
// momentum times its previous change plus negDelta times its input.
inline void TrainRow(FP12_20* w, FP12_20* prev, const FP12_20* x, unsigned count, FP12_20 negDelta,
                     FP12_20 momentum, bool& held) {
  for (unsigned i = 0; i < count; ++i) {
    int64_t delta = nx_saturation::WideMul(momentum, prev[i]) + nx_saturation::WideMul(negDelta, x[i]);
    w[i] = nx_saturation::ClampNoting(w[i] + delta, held);
    prev[i] = nx_saturation::ClampNoting(delta, held);
  }
}

// Back-propagated error: adds FpMul(delta, w[i]), a product cut to 32 bits
// like the nodes cut it, to sums[i].
inline void AddErrorRow(int64_t* sums, const FP12_20* w, unsigned count, FP12_20 delta) {
  for (unsigned i = 0; i < count; ++i) sums[i] += FpMul(delta, w[i]);
}

// The same three for rows of a block length, eight connections at a time.
int64_t ProductSumBlocks(const FP12_20* w, const FP12_20* x, unsigned count, bool& held);
void TrainRowBlocks(FP12_20* w, FP12_20* prev, const FP12_20* x, unsigned count, FP12_20 negDelta,
                    FP12_20 momentum, bool& held);
void AddErrorRowBlocks(int64_t* sums, const FP12_20* w, unsigned count, FP12_20 delta);

// Learning by epoch: adds negDelta times each input to the accumulated change.
inline void AccumulateRow(FP12_20* accum, const FP12_20* x, unsigned count, FP12_20 negDelta, bool& held) {
  for (unsigned i = 0; i < count; ++i)
    accum[i] = nx_saturation::ClampNoting(accum[i] + nx_saturation::WideMul(negDelta, x[i]), held);
}

// Applies an epoch's accumulated changes, and clears them.
inline void ApplyAccumulatedRow(FP12_20* w, FP12_20* prev, FP12_20* accum, unsigned count, FP12_20 rate,
                                FP12_20 momentum, bool& held) {
  for (unsigned i = 0; i < count; ++i) {
    int64_t delta = nx_saturation::WideMul(momentum, prev[i]) + nx_saturation::WideMul(rate, accum[i]);
    w[i] = nx_saturation::ClampNoting(w[i] + delta, held);
    prev[i] = nx_saturation::ClampNoting(delta, held);
    accum[i] = 0;
  }
}

}  // namespace nx_rows
