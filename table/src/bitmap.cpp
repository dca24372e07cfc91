#include "table/bitmap.h"

#include <algorithm>

#include "neural/check.h"

NxBitmap::NxBitmap(int32_t width, int32_t height, uint32_t fill)
    : W(std::max(width, 0)), H(std::max(height, 0)), Pixels(static_cast<size_t>(W) * H, fill) {}

size_t NxBitmap::Offset(int32_t x, int32_t y) const {
  NX_CHECK(x >= 0 && x < W && y >= 0 && y < H);
  return static_cast<size_t>(y) * W + x;
}

uint32_t* NxBitmap::Row(int32_t y) { return &Pixels[Offset(0, y)]; }

const uint32_t* NxBitmap::Row(int32_t y) const { return &Pixels[Offset(0, y)]; }

void NxBitmap::Combine(TRect dest, const NxBitmap& src, TPoint srcCorner, RasterOp op) {
  // Clip against the destination, then against the source, keeping the
  // two corners aligned.
  TRect clipped = dest.Intersection(Bounds());
  TRect srcArea = TRect::At({srcCorner.x + clipped.left - dest.left, srcCorner.y + clipped.top - dest.top},
                            {clipped.Width(), clipped.Height()});
  TRect srcClipped = srcArea.Intersection(src.Bounds());
  if (clipped.IsEmpty() || srcClipped.IsEmpty()) return;
  int32_t dx = clipped.left - srcArea.left;
  int32_t dy = clipped.top - srcArea.top;
  // One loop per operation: the choice is made once, not for every pixel.
  const size_t width = static_cast<size_t>(srcClipped.Width());
  for (int32_t y = srcClipped.top; y < srcClipped.bottom; ++y) {
    const uint32_t* from = &src.Pixels[static_cast<size_t>(y) * src.W + srcClipped.left];
    uint32_t* to = &Pixels[static_cast<size_t>(y + dy) * W + srcClipped.left + dx];
    switch (op) {
      case RasterOp::COPY: std::copy(from, from + width, to); break;
      case RasterOp::AND:
        for (size_t i = 0; i < width; ++i) to[i] &= from[i];
        break;
      case RasterOp::OR:
        for (size_t i = 0; i < width; ++i) to[i] |= from[i];
        break;
    }
  }
}
