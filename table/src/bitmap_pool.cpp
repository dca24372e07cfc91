#include "table/bitmap_pool.h"

#include <utility>

NxBitmap NxBitmapPool::Take(int32_t width, int32_t height) {
  for (auto it = Spares.begin(); it != Spares.end(); ++it) {
    if (it->Width() != width || it->Height() != height) continue;
    NxBitmap found = std::move(*it);
    Spares.erase(it);
    return found;
  }
  return NxBitmap(width, height);
}

void NxBitmapPool::Give(NxBitmap& bitmap) {
  if (bitmap.IsEmpty()) return;
  if (Spares.size() == MAX_KEPT) Spares.erase(Spares.begin());
  Spares.push_back(std::exchange(bitmap, NxBitmap()));
}
