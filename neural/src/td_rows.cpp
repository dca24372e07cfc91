#include "td_rows.h"

#include "vector_unit.h"

namespace nx_td_rows {

namespace {

[[gnu::always_inline]] inline int64_t GatherSumPortable(const FP12_20* weights, const uint32_t* slots,
                                                        const FP12_20* values, unsigned count) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += FpMul(weights[i], values[slots[i]]);
  return sum;
}

// The same loop built for 256-bit vectors: the compiler's vector code for
// them is as fast as any written by hand.
NX_AVX2 int64_t GatherSumAvx2(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned count) {
  return GatherSumPortable(weights, slots, values, count);
}

}  // namespace

GatherSum Select(bool portable) {
  if (!portable && nx_vector::HasAvx2()) return GatherSumAvx2;
  return GatherSumPortable;
}

}  // namespace nx_td_rows
