#pragma once

#include <algorithm>
#include <cstdint>

#include "neural/geometry.h"

// A table rectangle; right and bottom are exclusive.
struct TRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  static TRect At(TPoint corner, TSize size) {
    return {corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
  }

  constexpr int32_t Width() const { return right - left; }
  constexpr int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(TPoint p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
  bool Intersects(const TRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  TRect Intersection(const TRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  TRect Union(const TRect& o) const {
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  bool operator==(const TRect&) const = default;
};

inline bool operator==(TPoint a, TPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(TSize a, TSize b) { return a.cx == b.cx && a.cy == b.cy; }
