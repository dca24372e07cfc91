#include "ui/picture_memory.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// The allocator's largest heap-served block (larger ones are always mapped
// afresh): a table picture of a 4K screen still fits.
constexpr int MMAP_THRESHOLD = 32 << 20;
// Freed memory at the heap's top kept for reuse: a handful of full-screen
// pictures.
constexpr int TRIM_THRESHOLD = 256 << 20;
// The heap grown at once by this much, in blocks the heap serves, for the
// pictures of the largest window to come: room for several pictures of a
// 4K screen, and below the trim threshold so that it stays. It is address
// space only until a picture is drawn there.
constexpr size_t RESERVE = 192u << 20;
constexpr size_t RESERVE_BLOCK = 16u << 20;
constexpr uintptr_t HUGE_PAGE = 2u << 20;

#if defined(__GLIBC__)
uintptr_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Marks the heap's room for pictures as wanting huge pages: touching a
// fresh picture then faults its memory in 2 MB at a time instead of 4 KB,
// which on virtual machines is most of a first resize's cost.
void ReserveHugePageHeap() {
  const uintptr_t start = Address(sbrk(0));
  std::vector<void*> blocks;
  for (size_t reserved = 0; reserved < RESERVE; reserved += RESERVE_BLOCK) {
    void* block = std::malloc(RESERVE_BLOCK);
    if (!block) break;
    blocks.push_back(block);
    // A heap that does not grow by moving its break (a replaced allocator,
    // a break that could not move) is left as it is.
    if (Address(sbrk(0)) == start) break;
  }
  const uintptr_t from = (start + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
  const uintptr_t to = Address(sbrk(0)) & ~(HUGE_PAGE - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
  for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) std::free(*block);
}
#endif

}  // namespace

void KeepFreedPicturesInProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, MMAP_THRESHOLD);
    mallopt(M_TRIM_THRESHOLD, TRIM_THRESHOLD);
    if constexpr (sizeof(void*) >= 8) ReserveHugePageHeap();
#endif
  });
}
