#include "table/device_pixels.h"

#include <algorithm>
#include <cmath>

namespace {

// Products such as 100 * 1.5 must land on their whole number, not a hair
// below or above it, or an edge would shift by a pixel.
constexpr double EDGE_SLACK = 1e-7;

int32_t RoundDown(double v) { return static_cast<int32_t>(std::floor(v + EDGE_SLACK)); }
int32_t RoundUp(double v) { return static_cast<int32_t>(std::ceil(v - EDGE_SLACK)); }

}  // namespace

int32_t ToDevice(int32_t v, double scale) { return RoundDown(v * scale); }

TRect DeviceCover(const TRect& tableRect, double scale) {
  return {RoundDown(tableRect.left * scale), RoundDown(tableRect.top * scale), RoundUp(tableRect.right * scale),
          RoundUp(tableRect.bottom * scale)};
}

TSize DeviceSize(TSize tableSize, double scale) {
  return {std::max(1, static_cast<int32_t>(std::lround(tableSize.cx * scale))),
          std::max(1, static_cast<int32_t>(std::lround(tableSize.cy * scale)))};
}
