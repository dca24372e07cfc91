#include "batch_rows.h"

namespace nx_batch {

namespace {

// The sums built for 256-bit vectors, which the compiler writes.
__attribute__((target("avx2"))) void AddGradientRowAvx2(int64_t* gradient, const FP12_20* x, unsigned count,
                                                         FP12_20 delta) {
  AddGradientRow(gradient, x, count, delta);
}

}  // namespace

void AddGradientRowFast(int64_t* gradient, const FP12_20* x, unsigned count, FP12_20 delta) {
  static const auto row = __builtin_cpu_supports("avx2") ? AddGradientRowAvx2 : AddGradientRow;
  row(gradient, x, count, delta);
}

}  // namespace nx_batch
