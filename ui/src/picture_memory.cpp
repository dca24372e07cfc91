#include "ui/picture_memory.h"

#include <mutex>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The allocator's largest heap-served block (larger ones are always mapped
// afresh): a table picture of a 4K screen still fits.
constexpr int MMAP_THRESHOLD = 32 << 20;
// Freed memory at the heap's top kept for reuse: a handful of full-screen
// pictures.
constexpr int TRIM_THRESHOLD = 256 << 20;

}  // namespace

void KeepFreedPicturesInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, MMAP_THRESHOLD);
    mallopt(M_TRIM_THRESHOLD, TRIM_THRESHOLD);
#endif
  });
}
