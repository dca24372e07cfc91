#include "trace_rows.h"

#include <immintrin.h>

#include "saturation.h"

namespace nx_rows {

namespace {

void ExtendTracesScalar(FP12_20* accum, FP12_20* traces, const FP12_20* inputs, unsigned count, FP12_20 negError,
                        FP12_20 persistence, FP12_20 slope) {
  for (unsigned i = 0; i < count; ++i) {
    const FP12_20 trace = traces[i];
    accum[i] = FpAdd(accum[i], FpMul(negError, trace));
    traces[i] = FpAdd(FpMul(trace, persistence), FpMul(slope, inputs[i]));
  }
}

void LearnFromTracesScalar(FP12_20* weights, FP12_20* accum, FP12_20* traces, unsigned count, FP12_20 negError,
                           FP12_20 rate) {
  for (unsigned i = 0; i < count; ++i) {
    const FP12_20 change = FpAdd(accum[i], FpMul(negError, traces[i]));
    weights[i] = nx_saturation::Add(weights[i], FpMul(rate, change));
    traces[i] = 0;
    accum[i] = 0;
  }
}

void AddScaledScalar(FP12_20* errors, const FP12_20* weights, unsigned count, FP12_20 delta) {
  for (unsigned i = 0; i < count; ++i) errors[i] = FpAdd(errors[i], FpMul(delta, weights[i]));
}

// FpMul on eight lanes. The even lanes multiply in place, the odd ones after
// a move down; either 64-bit product shifted right by 20 holds the result in
// its low half, and a logical shift leaves the same low half as FpMul's
// arithmetic one.
__attribute__((target("avx2"))) inline __m256i FpMul8(__m256i a, __m256i b) {
  __m256i even = _mm256_srli_epi64(_mm256_mul_epi32(a, b), 20);
  __m256i odd = _mm256_srli_epi64(_mm256_mul_epi32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32)), 20);
  return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xAA);
}

// The sum a + b on eight lanes, held at the 32-bit limits as
// nx_saturation::Add holds it; a lane overflows when a and b share a sign
// that the wrapped sum lacks.
__attribute__((target("avx2"))) inline __m256i SaturatingAdd8(__m256i a, __m256i b) {
  const __m256i sum = _mm256_add_epi32(a, b);
  const __m256i overflow = _mm256_srai_epi32(_mm256_andnot_si256(_mm256_xor_si256(a, b), _mm256_xor_si256(a, sum)), 31);
  if (_mm256_testz_si256(overflow, overflow)) return sum;
  nx_saturation::Events.fetch_add(1, std::memory_order_relaxed);
  // INT32_MAX for a non-negative a, INT32_MIN for a negative one.
  const __m256i limit = _mm256_xor_si256(_mm256_srai_epi32(a, 31), _mm256_set1_epi32(INT32_MAX));
  return _mm256_blendv_epi8(sum, limit, overflow);
}

__attribute__((target("avx2"))) void ExtendTracesAvx2(FP12_20* accum, FP12_20* traces, const FP12_20* inputs,
                                                       unsigned count, FP12_20 negError, FP12_20 persistence,
                                                       FP12_20 slope) {
  const __m256i error8 = _mm256_set1_epi32(negError);
  const __m256i persistence8 = _mm256_set1_epi32(persistence);
  const __m256i slope8 = _mm256_set1_epi32(slope);
  unsigned i = 0;
  for (; i + 8 <= count; i += 8) {
    auto* accumAt = reinterpret_cast<__m256i*>(accum + i);
    auto* traceAt = reinterpret_cast<__m256i*>(traces + i);
    const __m256i trace = _mm256_loadu_si256(traceAt);
    const __m256i input = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(inputs + i));
    _mm256_storeu_si256(accumAt, _mm256_add_epi32(_mm256_loadu_si256(accumAt), FpMul8(error8, trace)));
    _mm256_storeu_si256(traceAt, _mm256_add_epi32(FpMul8(trace, persistence8), FpMul8(slope8, input)));
  }
  ExtendTracesScalar(accum + i, traces + i, inputs + i, count - i, negError, persistence, slope);
}

__attribute__((target("avx2"))) void LearnFromTracesAvx2(FP12_20* weights, FP12_20* accum, FP12_20* traces,
                                                          unsigned count, FP12_20 negError, FP12_20 rate) {
  const __m256i error8 = _mm256_set1_epi32(negError);
  const __m256i rate8 = _mm256_set1_epi32(rate);
  const __m256i zero = _mm256_setzero_si256();
  unsigned i = 0;
  for (; i + 8 <= count; i += 8) {
    auto* weightAt = reinterpret_cast<__m256i*>(weights + i);
    auto* accumAt = reinterpret_cast<__m256i*>(accum + i);
    auto* traceAt = reinterpret_cast<__m256i*>(traces + i);
    const __m256i change = _mm256_add_epi32(_mm256_loadu_si256(accumAt), FpMul8(error8, _mm256_loadu_si256(traceAt)));
    _mm256_storeu_si256(weightAt, SaturatingAdd8(_mm256_loadu_si256(weightAt), FpMul8(rate8, change)));
    _mm256_storeu_si256(traceAt, zero);
    _mm256_storeu_si256(accumAt, zero);
  }
  LearnFromTracesScalar(weights + i, accum + i, traces + i, count - i, negError, rate);
}

__attribute__((target("avx2"))) void AddScaledAvx2(FP12_20* errors, const FP12_20* weights, unsigned count,
                                                    FP12_20 delta) {
  const __m256i delta8 = _mm256_set1_epi32(delta);
  unsigned i = 0;
  for (; i + 8 <= count; i += 8) {
    auto* errorAt = reinterpret_cast<__m256i*>(errors + i);
    const __m256i weight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + i));
    _mm256_storeu_si256(errorAt, _mm256_add_epi32(_mm256_loadu_si256(errorAt), FpMul8(delta8, weight)));
  }
  AddScaledScalar(errors + i, weights + i, count - i, delta);
}

using ExtendTracesRow = void (*)(FP12_20*, FP12_20*, const FP12_20*, unsigned, FP12_20, FP12_20, FP12_20);

using LearnFromTracesRow = void (*)(FP12_20*, FP12_20*, FP12_20*, unsigned, FP12_20, FP12_20);

using AddScaledRow = void (*)(FP12_20*, const FP12_20*, unsigned, FP12_20);

bool HasAvx2() { return __builtin_cpu_supports("avx2"); }

}  // namespace

void ExtendTraces(FP12_20* accum, FP12_20* traces, const FP12_20* inputs, unsigned count, FP12_20 negError,
                  FP12_20 persistence, FP12_20 slope) {
  static const ExtendTracesRow row = HasAvx2() ? ExtendTracesAvx2 : ExtendTracesScalar;
  row(accum, traces, inputs, count, negError, persistence, slope);
}

void LearnFromTraces(FP12_20* weights, FP12_20* accum, FP12_20* traces, unsigned count, FP12_20 negError,
                     FP12_20 rate) {
  static const LearnFromTracesRow row = HasAvx2() ? LearnFromTracesAvx2 : LearnFromTracesScalar;
  row(weights, accum, traces, count, negError, rate);
}

void AddScaled(FP12_20* errors, const FP12_20* weights, unsigned count, FP12_20 delta) {
  static const AddScaledRow row = HasAvx2() ? AddScaledAvx2 : AddScaledScalar;
  row(errors, weights, count, delta);
}

}  // namespace nx_rows
