#include "td_rows.h"

#include <immintrin.h>

namespace nx_td_rows {

namespace {

void PassOnPortable(uint32_t begin, uint32_t end, FP12_20 value, const FP12_20* weights, FP12_20* terms,
                    const uint32_t* owners, int64_t* nets, uint8_t* stale, int64_t*) {
  for (uint32_t t = begin; t < end; ++t) {
    const FP12_20 term = FpMul(weights[t], value);
    nets[owners[t]] += int64_t{term} - terms[t];
    terms[t] = term;
    stale[owners[t]] = 1;
  }
}

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

// The products and their changes four at a time; the owners, which lie
// anywhere, take their changes one by one.
__attribute__((target("avx2"))) void PassOnAvx2(uint32_t begin, uint32_t end, FP12_20 value, const FP12_20* weights,
                                                 FP12_20* terms, const uint32_t* owners, int64_t* nets,
                                                 uint8_t* stale, int64_t* changes) {
  const __m256i value4 = _mm256_set1_epi64x(value);
  int64_t* change = changes;
  for (uint32_t t = begin; t < end; t += ENTRY_ALIGN, change += ENTRY_ALIGN) {
    const __m128i term = FpMul4(Widen(Load4(weights + t)), value4);
    const __m256i difference = _mm256_sub_epi64(Widen(term), Widen(Load4(terms + t)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(terms + t), term);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(change), difference);
  }
  for (uint32_t t = begin; t < end; ++t) {
    const uint32_t owner = owners[t];
    nets[owner] += changes[t - begin];
    stale[owner] = 1;
  }
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

}  // namespace

Kernels Select(bool portable) {
  if (!portable && __builtin_cpu_supports("avx2")) return {PassOnAvx2, GatherSumAvx2, RowSumAvx2};
  return {PassOnPortable, GatherSumPortable, RowSumPortable};
}

}  // namespace nx_td_rows
