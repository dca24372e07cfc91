#include "trace_rows.h"

#include <algorithm>

#include "saturation.h"
#include "vector_unit.h"

namespace nx_rows {

namespace {

[[gnu::always_inline]] inline void ExtendTracesPortable(FP12_20* accum, FP12_20* traces, const FP12_20* inputs,
                                                        unsigned count, FP12_20 negError, FP12_20 persistence,
                                                        FP12_20 slope) {
  for (unsigned i = 0; i < count; ++i) {
    const FP12_20 trace = traces[i];
    accum[i] = FpAdd(accum[i], FpMul(negError, trace));
    traces[i] = FpAdd(FpMul(trace, persistence), FpMul(slope, inputs[i]));
  }
}

// The flag is a number, not a bool: the compiler turns the loop into vector
// code only then.
[[gnu::always_inline]] inline void LearnFromTracesPortable(FP12_20* weights, FP12_20* accum, FP12_20* traces,
                                                           unsigned count, FP12_20 negError, FP12_20 rate) {
  unsigned held = 0;
  for (unsigned i = 0; i < count; ++i) {
    const FP12_20 change = FpAdd(accum[i], FpMul(negError, traces[i]));
    const int64_t sum = int64_t{weights[i]} + FpMul(rate, change);
    held |= nx_saturation::OutOfRange(sum);
    weights[i] = static_cast<FP12_20>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
    traces[i] = 0;
    accum[i] = 0;
  }
  nx_saturation::CountIf(held);
}

[[gnu::always_inline]] inline void AddScaledPortable(FP12_20* errors, const FP12_20* weights, unsigned count,
                                                     FP12_20 delta) {
  for (unsigned i = 0; i < count; ++i) errors[i] = FpAdd(errors[i], FpMul(delta, weights[i]));
}

// The same loops built for 256-bit vectors, which the compiler writes.
NX_AVX2 void ExtendTracesAvx2(FP12_20* accum, FP12_20* traces, const FP12_20* inputs, unsigned count, FP12_20 negError,
                              FP12_20 persistence, FP12_20 slope) {
  ExtendTracesPortable(accum, traces, inputs, count, negError, persistence, slope);
}

NX_AVX2 void LearnFromTracesAvx2(FP12_20* weights, FP12_20* accum, FP12_20* traces, unsigned count, FP12_20 negError,
                                 FP12_20 rate) {
  LearnFromTracesPortable(weights, accum, traces, count, negError, rate);
}

NX_AVX2 void AddScaledAvx2(FP12_20* errors, const FP12_20* weights, unsigned count, FP12_20 delta) {
  AddScaledPortable(errors, weights, count, delta);
}

}  // namespace

void ExtendTraces(FP12_20* accum, FP12_20* traces, const FP12_20* inputs, unsigned count, FP12_20 negError,
                  FP12_20 persistence, FP12_20 slope) {
  static const auto row = nx_vector::HasAvx2() ? ExtendTracesAvx2 : ExtendTracesPortable;
  row(accum, traces, inputs, count, negError, persistence, slope);
}

void LearnFromTraces(FP12_20* weights, FP12_20* accum, FP12_20* traces, unsigned count, FP12_20 negError,
                     FP12_20 rate) {
  static const auto row = nx_vector::HasAvx2() ? LearnFromTracesAvx2 : LearnFromTracesPortable;
  row(weights, accum, traces, count, negError, rate);
}

void AddScaled(FP12_20* errors, const FP12_20* weights, unsigned count, FP12_20 delta) {
  static const auto row = nx_vector::HasAvx2() ? AddScaledAvx2 : AddScaledPortable;
  row(errors, weights, count, delta);
}

}  // namespace nx_rows
