#include "td_rows.h"

#include <immintrin.h>

#include <cmath>

namespace nx_td_rows {

namespace {

[[gnu::always_inline]] inline int64_t GatherSumPortable(const FP12_20* weights, const uint32_t* slots,
                                                       const FP12_20* values, unsigned count) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += FpMul(weights[i], values[slots[i]]);
  return sum;
}

[[gnu::always_inline]] inline int64_t RowSumPortable(const FP12_20* weights, const FP12_20* values,
                                                    unsigned count) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += FpMul(weights[i], values[i]);
  return sum;
}

// The same loops built for 256-bit vectors: the compiler's vector code for
// them is as fast as any written by hand.
__attribute__((target("avx2"))) int64_t GatherSumAvx2(const FP12_20* weights, const uint32_t* slots,
                                                       const FP12_20* values, unsigned count) {
  return GatherSumPortable(weights, slots, values, count);
}

__attribute__((target("avx2"))) int64_t RowSumAvx2(const FP12_20* weights, const FP12_20* values, unsigned count) {
  return RowSumPortable(weights, values, count);
}

void BlockSumsPortable(const double* weights, const uint32_t* slots, const Lanes*, const FP12_20* values,
                       unsigned sources, unsigned lanes, int64_t* sums) {
  for (unsigned i = 0; i < sources; ++i)
    for (unsigned j = 0; j < lanes; ++j)
      sums[j] += static_cast<int64_t>(std::floor(weights[i * lanes + j] * values[slots[i * lanes + j]]));
}

__attribute__((target("avx2"))) inline __m128i Load4(const FP12_20* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// The eight values of a block row's lanes as two vectors of four doubles.
__attribute__((target("avx2"))) inline void EightValues(const uint32_t* slots, Lanes layout, const FP12_20* values,
                                                         __m256d& low, __m256d& high) {
  switch (layout) {
    case Lanes::Shared:
      low = high = _mm256_set1_pd(values[slots[0]]);
      return;
    case Lanes::Consecutive:
      low = _mm256_cvtepi32_pd(Load4(values + slots[0]));
      high = _mm256_cvtepi32_pd(Load4(values + slots[0] + 4));
      return;
    default:
      low = _mm256_cvtepi32_pd(_mm_setr_epi32(values[slots[0]], values[slots[1]], values[slots[2]], values[slots[3]]));
      high = _mm256_cvtepi32_pd(_mm_setr_epi32(values[slots[4]], values[slots[5]], values[slots[6]], values[slots[7]]));
  }
}

// Whole numbers below 2^51 in size to 64-bit integers: added to 1.5 * 2^52
// they become the low bits of the sum's mantissa.
__attribute__((target("avx2"))) inline __m256i WholeToInt64(__m256d whole) {
  const __m256d magic = _mm256_set1_pd(6755399441055744.0);
  return _mm256_sub_epi64(_mm256_castpd_si256(_mm256_add_pd(whole, magic)), _mm256_castpd_si256(magic));
}

__attribute__((target("avx2"))) inline void AddTo(int64_t* sums, __m256d whole) {
  auto* at = reinterpret_cast<__m256i*>(sums);
  _mm256_storeu_si256(at, _mm256_add_epi64(_mm256_loadu_si256(at), WholeToInt64(whole)));
}

// Eight nodes at a time, each lane a node, in doubles, where every product
// and sum is exact.
__attribute__((target("avx2"))) void BlockSumsAvx2(const double* weights, const uint32_t* slots, const Lanes* layouts,
                                                    const FP12_20* values, unsigned sources, unsigned lanes,
                                                    int64_t* sums) {
  constexpr int floor = _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC;
  for (unsigned j = 0; j < lanes; j += BLOCK_LANES) {
    __m256d low = _mm256_setzero_pd(), high = _mm256_setzero_pd();
    for (unsigned i = 0; i < sources; ++i) {
      const unsigned k = i * lanes + j;
      __m256d lowValues, highValues;
      EightValues(slots + k, layouts[k / BLOCK_LANES], values, lowValues, highValues);
      low = _mm256_add_pd(low, _mm256_round_pd(_mm256_mul_pd(_mm256_loadu_pd(weights + k), lowValues), floor));
      high = _mm256_add_pd(high, _mm256_round_pd(_mm256_mul_pd(_mm256_loadu_pd(weights + k + 4), highValues), floor));
    }
    AddTo(sums + j, low);
    AddTo(sums + j + 4, high);
  }
}

}  // namespace

Lanes LanesOf(const uint32_t* slots) {
  bool shared = true, consecutive = true;
  for (unsigned m = 1; m < BLOCK_LANES; ++m) {
    shared = shared && slots[m] == slots[0];
    consecutive = consecutive && slots[m] == slots[0] + m;
  }
  return shared ? Lanes::Shared : consecutive ? Lanes::Consecutive : Lanes::Scattered;
}

Kernels Select(bool portable) {
  if (!portable && __builtin_cpu_supports("avx2")) return {GatherSumAvx2, RowSumAvx2, BlockSumsAvx2};
  return {GatherSumPortable, RowSumPortable, BlockSumsPortable};
}

}  // namespace nx_td_rows
