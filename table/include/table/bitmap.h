#pragma once

#include <cstdint>
#include <vector>

#include "game/rect.h"

// A plain 32-bit pixel buffer. The toolkit that shows the table converts it
// to its own image type; the core only copies and combines pixels.
class NxBitmap {
 public:
  NxBitmap() = default;
  NxBitmap(int32_t width, int32_t height, uint32_t fill = 0);

  int32_t Width() const { return W; }
  int32_t Height() const { return H; }
  bool IsEmpty() const { return W <= 0 || H <= 0; }
  TRect Bounds() const { return {0, 0, W, H}; }

  uint32_t Pixel(int32_t x, int32_t y) const { return Pixels[Offset(x, y)]; }
  void SetPixel(int32_t x, int32_t y, uint32_t value) { Pixels[Offset(x, y)] = value; }
  const uint32_t* Data() const { return Pixels.data(); }
  // One row's pixels, checked once for the whole row: whole-picture loops
  // at a large scale would spend more on per-pixel checks than on pixels.
  uint32_t* Row(int32_t y);
  const uint32_t* Row(int32_t y) const;

  // Raster operations: the source area starting at srcCorner lands on dest.
  // Both sides are clipped to their bitmaps.
  enum class RasterOp { COPY, AND, OR };
  void Combine(TRect dest, const NxBitmap& src, TPoint srcCorner, RasterOp op);

 private:
  size_t Offset(int32_t x, int32_t y) const;

  int32_t W = 0;
  int32_t H = 0;
  std::vector<uint32_t> Pixels;
};
