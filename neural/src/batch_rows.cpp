#include "batch_rows.h"

#include "vector_unit.h"

namespace nx_batch {

namespace {

// The sums built for 256-bit vectors, which the compiler writes.
NX_AVX2 void AddGradientRowAvx2(int64_t* gradient, const FP12_20* x, unsigned count, FP12_20 delta) {
  AddGradientRow(gradient, x, count, delta);
}

}  // namespace

void AddGradientRowFast(int64_t* gradient, const FP12_20* x, unsigned count, FP12_20 delta) {
  static const auto row = nx_vector::HasAvx2() ? AddGradientRowAvx2 : AddGradientRow;
  row(gradient, x, count, delta);
}

}  // namespace nx_batch
