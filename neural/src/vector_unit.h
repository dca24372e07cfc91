#pragma once

// Row loops are built a second time for processors with 256-bit integer
// vectors and chosen at run time, so that the library runs on any x86-64
// processor; elsewhere the plain loops are all there is.
#if defined(__x86_64__) || defined(__i386__)
#define NX_VECTOR_LOOPS 1
#define NX_AVX2 __attribute__((target("avx2")))
#else
#define NX_AVX2
#endif

namespace nx_vector {

inline bool HasAvx2() {
#ifdef NX_VECTOR_LOOPS
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

}  // namespace nx_vector
