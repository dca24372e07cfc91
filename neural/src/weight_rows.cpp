#include "weight_rows.h"

#include "saturation.h"
#include "vector_unit.h"

#ifdef NX_VECTOR_LOOPS
#include <immintrin.h>
#endif

namespace nx_rows {
namespace {

#ifdef NX_VECTOR_LOOPS

// The vector loops work on eight 32-bit values at a time. A 64-bit product
// is formed for the even and the odd positions separately; an arithmetic
// shift of 64-bit lanes does not exist at this width, so a product p is
// shifted as (p + 2^k) >> 20 without sign, with a bias 2^k that makes it
// non-negative, and the bias (a multiple of 2^20) is taken off afterwards.

// Product p of the even 32-bit positions and of the odd ones.
NX_AVX2 inline __m256i EvenProducts(__m256i a, __m256i b) { return _mm256_mul_epi32(a, b); }
NX_AVX2 inline __m256i OddProducts(__m256i a, __m256i b) {
  return _mm256_mul_epi32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
}

NX_AVX2 inline bool AnyHighBits(__m256i values, __m256i mask) { return !_mm256_testz_si256(values, mask); }

NX_AVX2 inline int64_t HorizontalSum(__m256i v) {
  __m128i sum = _mm_add_epi64(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
  return _mm_cvtsi128_si64(sum) + _mm_extract_epi64(sum, 1);
}

// Bits 20 to 51 of the 64-bit products of the even and the odd positions,
// as eight 32-bit values in their positions.
NX_AVX2 inline __m256i ShiftedTerms(__m256i even, __m256i odd) {
  return _mm256_blend_epi32(_mm256_srli_epi64(even, 20), _mm256_slli_epi64(odd, 12), 0xAA);
}

// The change (the two shifted products added) and the new weight, in 32
// bits; the sign bits of the result mark the lanes where either sum
// overflowed, that is differs in sign from both its terms.
NX_AVX2 inline __m256i AddChanges(__m256i weights, __m256i fromMomentum, __m256i fromInput, __m256i& delta,
                                  __m256i& sum) {
  delta = _mm256_add_epi32(fromMomentum, fromInput);
  sum = _mm256_add_epi32(weights, delta);
  return _mm256_or_si256(
      _mm256_and_si256(_mm256_xor_si256(fromMomentum, delta), _mm256_xor_si256(fromInput, delta)),
      _mm256_and_si256(_mm256_xor_si256(weights, sum), _mm256_xor_si256(delta, sum)));
}

#endif

}  // namespace

bool IsBlockLength(unsigned count) { return count % ROW_BLOCK == 0 && nx_vector::HasAvx2(); }

#ifdef NX_VECTOR_LOOPS

// A product lies in the range when p >> 20 fits 32 bits, that is when
// p + 2^51 lies in [0, 2^52); then (p + 2^51) >> 20 is the term plus 2^31.
NX_AVX2 int64_t ProductSumBlocks(const FP12_20* w, const FP12_20* x, unsigned count, bool& held) {
  const __m256i bias = _mm256_set1_epi64x(int64_t{1} << 51);
  __m256i sum = _mm256_setzero_si256();
  __m256i seen = _mm256_setzero_si256();
  for (unsigned i = 0; i < count; i += ROW_BLOCK) {
    __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + i));
    __m256i inputs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(x + i));
    __m256i even = _mm256_add_epi64(EvenProducts(weights, inputs), bias);
    __m256i odd = _mm256_add_epi64(OddProducts(weights, inputs), bias);
    seen = _mm256_or_si256(seen, _mm256_or_si256(even, odd));
    sum = _mm256_add_epi64(sum, _mm256_add_epi64(_mm256_srli_epi64(even, 20), _mm256_srli_epi64(odd, 20)));
  }
  if (AnyHighBits(seen, _mm256_set1_epi64x(int64_t(~0ull << 52)))) return ProductSum(w, x, count, held);
  return HorizontalSum(sum) - (int64_t{count} << 31);
}

// The change of each weight is the sum of two products shifted by 20; each
// shifted product is exact in 32 bits when p + 2^51 lies in [0, 2^52), and
// the two 32-bit sums are exact when they do not overflow. Any block where
// one of these fails is done again by the plain loop, which holds the
// results at the limits.
NX_AVX2 void TrainRowBlocks(FP12_20* w, FP12_20* prev, const FP12_20* x, unsigned count, FP12_20 negDelta,
                            FP12_20 momentum, bool& held) {
  const __m256i g = _mm256_set1_epi32(negDelta);
  const __m256i m = _mm256_set1_epi32(momentum);
  const __m256i bias = _mm256_set1_epi64x(int64_t{1} << 51);
  const __m256i high = _mm256_set1_epi64x(int64_t(~0ull << 52));
  const __m256i sign = _mm256_set1_epi32(INT32_MIN);
  for (unsigned i = 0; i < count; i += ROW_BLOCK) {
    __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + i));
    __m256i changes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prev + i));
    __m256i inputs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(x + i));
    __m256i momentumEven = _mm256_add_epi64(EvenProducts(m, changes), bias);
    __m256i momentumOdd = _mm256_add_epi64(OddProducts(m, changes), bias);
    __m256i inputEven = _mm256_add_epi64(EvenProducts(g, inputs), bias);
    __m256i inputOdd = _mm256_add_epi64(OddProducts(g, inputs), bias);
    __m256i products = _mm256_or_si256(_mm256_or_si256(momentumEven, momentumOdd), _mm256_or_si256(inputEven, inputOdd));
    // Bits 20 to 51 of each product, less the bias's 2^31, in its position.
    __m256i fromMomentum = _mm256_xor_si256(ShiftedTerms(momentumEven, momentumOdd), sign);
    __m256i fromInput = _mm256_xor_si256(ShiftedTerms(inputEven, inputOdd), sign);
    __m256i delta, sum;
    __m256i overflow = AddChanges(weights, fromMomentum, fromInput, delta, sum);
    if (AnyHighBits(products, high) || AnyHighBits(overflow, sign)) {
      TrainRow(w + i, prev + i, x + i, ROW_BLOCK, negDelta, momentum, held);
      continue;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(w + i), sum);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(prev + i), delta);
  }
}

// FpMul keeps bits 20 to 51 of the product.
NX_AVX2 void AddErrorRowBlocks(int64_t* sums, const FP12_20* w, unsigned count, FP12_20 delta) {
  const __m256i d = _mm256_set1_epi32(delta);
  for (unsigned i = 0; i < count; i += ROW_BLOCK) {
    __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + i));
    __m256i terms = ShiftedTerms(EvenProducts(d, weights), OddProducts(d, weights));
    __m256i* out = reinterpret_cast<__m256i*>(sums + i);
    __m256i low = _mm256_cvtepi32_epi64(_mm256_castsi256_si128(terms));
    __m256i high = _mm256_cvtepi32_epi64(_mm256_extracti128_si256(terms, 1));
    _mm256_storeu_si256(out, _mm256_add_epi64(_mm256_loadu_si256(out), low));
    _mm256_storeu_si256(out + 1, _mm256_add_epi64(_mm256_loadu_si256(out + 1), high));
  }
}

#else

int64_t ProductSumBlocks(const FP12_20* w, const FP12_20* x, unsigned count, bool& held) {
  return ProductSum(w, x, count, held);
}

void TrainRowBlocks(FP12_20* w, FP12_20* prev, const FP12_20* x, unsigned count, FP12_20 negDelta,
                    FP12_20 momentum, bool& held) {
  TrainRow(w, prev, x, count, negDelta, momentum, held);
}

void AddErrorRowBlocks(int64_t* sums, const FP12_20* w, unsigned count, FP12_20 delta) {
  AddErrorRow(sums, w, count, delta);
}

#endif

}  // namespace nx_rows
