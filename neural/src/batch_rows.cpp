#include "batch_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define NX_BATCH_X86 1
#endif

namespace nx_batch {

namespace {

#ifdef NX_BATCH_X86

// Four connections at a time. A product p of two 32-bit values lies within
// [-2^62, 2^62], so p + 2^62 is not negative and a logical shift, which is
// all that 64-bit lanes have at this width, floors it as the arithmetic
// shift would; the 2^42 it adds is taken off again.
__attribute__((target("avx2"))) void AddGradientQuads(int64_t* gradient, const FP12_20* x, unsigned count,
                                                      FP12_20 delta) {
  const __m256i factor = _mm256_set1_epi64x(delta);
  const __m256i bias = _mm256_set1_epi64x(int64_t{1} << 62);
  const __m256i unbias = _mm256_set1_epi64x(int64_t{1} << 42);
  unsigned i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256i inputs = _mm256_cvtepi32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i)));
    const __m256i product = _mm256_mul_epi32(inputs, factor);
    const __m256i term = _mm256_sub_epi64(_mm256_srli_epi64(_mm256_add_epi64(product, bias), 20), unbias);
    __m256i* sums = reinterpret_cast<__m256i*>(gradient + i);
    _mm256_storeu_si256(sums, _mm256_add_epi64(_mm256_loadu_si256(sums), term));
  }
  AddGradientRow(gradient + i, x + i, count - i, delta);
}

bool HasVectorUnit() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif

}  // namespace

void AddGradientRowFast(int64_t* gradient, const FP12_20* x, unsigned count, FP12_20 delta) {
#ifdef NX_BATCH_X86
  if (HasVectorUnit()) return AddGradientQuads(gradient, x, count, delta);
#endif
  AddGradientRow(gradient, x, count, delta);
}

}  // namespace nx_batch
