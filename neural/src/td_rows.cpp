#include "td_rows.h"

#include <immintrin.h>

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

void BlockSumsPortable(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned sources,
                       unsigned lanes, int64_t* sums) {
  for (unsigned i = 0; i < sources; ++i)
    for (unsigned j = 0; j < lanes; ++j) sums[j] += FpMul(weights[i * lanes + j], values[slots[i * lanes + j]]);
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

// FpMul on eight lanes: the even lanes multiply in place, the odd ones
// after a move down, and each 64-bit product shifted right by 20 holds the
// result in its low half.
__attribute__((target("avx2"))) inline __m256i FpMul8(__m256i a, __m256i b) {
  const __m256i even = _mm256_srli_epi64(_mm256_mul_epi32(a, b), 20);
  const __m256i odd = _mm256_srli_epi64(_mm256_mul_epi32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32)), 20);
  return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xAA);
}

// Four lanes from `first` on, summed in 64 bits.
__attribute__((target("avx2"))) void WideBlockLanes(const FP12_20* weights, const uint32_t* slots,
                                                     const FP12_20* values, unsigned sources, unsigned lanes,
                                                     int64_t* sums, unsigned first) {
  auto* at = reinterpret_cast<__m256i*>(sums + first);
  __m256i sum = _mm256_loadu_si256(at);
  for (unsigned i = 0; i < sources; ++i) {
    const unsigned k = i * lanes + first;
    const __m128i gathered =
        _mm_i32gather_epi32(values, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slots + k)), 4);
    sum = _mm256_add_epi64(sum, Widen(FpMul4(Widen(Load4(weights + k)), Widen(gathered))));
  }
  _mm256_storeu_si256(at, sum);
}

// Eight nodes at a time, each lane a node, the sources one after another,
// adding in 32 bits. While no partial sum leaves the 32-bit range the
// wrapping sums are the exact ones; a lane where one did (two addends of
// one sign, a result of the other) has its eight summed again in 64 bits.
__attribute__((target("avx2"))) void BlockSumsAvx2(const FP12_20* weights, const uint32_t* slots,
                                                    const FP12_20* values, unsigned sources, unsigned lanes,
                                                    int64_t* sums) {
  for (unsigned j = 0; j < lanes; j += BLOCK_LANES) {
    __m256i sum = _mm256_setzero_si256(), overflow = _mm256_setzero_si256();
    for (unsigned i = 0; i < sources; ++i) {
      const unsigned k = i * lanes + j;
      const __m256i gathered =
          _mm256_i32gather_epi32(reinterpret_cast<const int*>(values),
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(slots + k)), 4);
      const __m256i product = FpMul8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + k)), gathered);
      const __m256i next = _mm256_add_epi32(sum, product);
      overflow = _mm256_or_si256(
          overflow, _mm256_and_si256(_mm256_xor_si256(sum, next), _mm256_xor_si256(product, next)));
      sum = next;
    }
    if (_mm256_movemask_ps(_mm256_castsi256_ps(overflow))) {
      WideBlockLanes(weights, slots, values, sources, lanes, sums, j);
      WideBlockLanes(weights, slots, values, sources, lanes, sums, j + 4);
      continue;
    }
    auto* low = reinterpret_cast<__m256i*>(sums + j);
    auto* high = reinterpret_cast<__m256i*>(sums + j + 4);
    _mm256_storeu_si256(low, _mm256_add_epi64(_mm256_loadu_si256(low), Widen(_mm256_castsi256_si128(sum))));
    _mm256_storeu_si256(high, _mm256_add_epi64(_mm256_loadu_si256(high), Widen(_mm256_extracti128_si256(sum, 1))));
  }
}

}  // namespace

Kernels Select(bool portable) {
  if (!portable && __builtin_cpu_supports("avx2")) return {GatherSumAvx2, RowSumAvx2, BlockSumsAvx2};
  return {GatherSumPortable, RowSumPortable, BlockSumsPortable};
}

}  // namespace nx_td_rows
