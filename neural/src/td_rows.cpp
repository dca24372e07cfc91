#include "td_rows.h"

#include <immintrin.h>

#include <cmath>

namespace nx_td_rows {

namespace {

int64_t GatherSumPortable(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned count) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += FpMul(weights[i], values[slots[i]]);
  return sum;
}

int64_t RowSumPortable(const FP12_20* weights, const FP12_20* values, unsigned count) {
  int64_t sum = 0;
  for (unsigned i = 0; i < count; ++i) sum += FpMul(weights[i], values[i]);
  return sum;
}

void BlockSumsPortable(const double* weights, const uint32_t* slots, const Lanes*, const FP12_20* values,
                       unsigned sources, unsigned lanes, int64_t* sums) {
  for (unsigned i = 0; i < sources; ++i)
    for (unsigned j = 0; j < lanes; ++j)
      sums[j] += static_cast<int64_t>(std::floor(weights[i * lanes + j] * values[slots[i * lanes + j]]));
}

// Four products at once, one per 64-bit lane, from the low halves of the
// lanes. Shifted right by 20 each lane holds FpMul's result in its low half
// (a logical shift leaves the same low half as the arithmetic one); the
// four low halves are gathered into one 128-bit vector.
__attribute__((target("avx2"))) inline __m128i FpMul4(__m256i a, __m256i b) {
  const __m256i lowHalves = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
  const __m256i shifted = _mm256_srli_epi64(_mm256_mul_epi32(a, b), 20);
  return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(shifted, lowHalves));
}

__attribute__((target("avx2"))) inline __m256i Widen(__m128i four) { return _mm256_cvtepi32_epi64(four); }

__attribute__((target("avx2"))) inline __m128i Load4(const FP12_20* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

__attribute__((target("avx2"))) inline int64_t LaneSum(__m256i sums) {
  const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
  return _mm_cvtsi128_si64(half) + _mm_extract_epi64(half, 1);
}

__attribute__((target("avx2"))) int64_t GatherSumAvx2(const FP12_20* weights, const uint32_t* slots,
                                                       const FP12_20* values, unsigned count) {
  __m256i sums = _mm256_setzero_si256();
  unsigned i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i gathered =
        _mm_i32gather_epi32(values, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slots + i)), 4);
    sums = _mm256_add_epi64(sums, Widen(FpMul4(Widen(Load4(weights + i)), Widen(gathered))));
  }
  return LaneSum(sums) + GatherSumPortable(weights + i, slots + i, values, count - i);
}

__attribute__((target("avx2"))) int64_t RowSumAvx2(const FP12_20* weights, const FP12_20* values, unsigned count) {
  __m256i sums = _mm256_setzero_si256();
  unsigned i = 0;
  for (; i + 4 <= count; i += 4)
    sums = _mm256_add_epi64(sums, Widen(FpMul4(Widen(Load4(weights + i)), Widen(Load4(values + i)))));
  return LaneSum(sums) + RowSumPortable(weights + i, values + i, count - i);
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
