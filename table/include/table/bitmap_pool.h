#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "table/bitmap.h"

// Whole-table bitmaps kept for reuse. A window resized back and forth
// between two sizes needs buffers of those two sizes in turn; fresh ones
// of several megabytes each cost more in page faults than drawing the
// table into them.
class NxBitmapPool {
 public:
  // A bitmap of the given size whose pixels are left over from earlier use,
  // or a new black one.
  NxBitmap Take(int32_t width, int32_t height);
  // Keeps a bitmap for a later Take and leaves `bitmap` empty; the oldest
  // kept goes first when full.
  void Give(NxBitmap& bitmap);
  size_t Kept() const { return Spares.size(); }

 private:
  // Two sizes of a back buffer and a background each.
  static constexpr size_t MAX_KEPT = 4;
  std::vector<NxBitmap> Spares;  // oldest first
};
