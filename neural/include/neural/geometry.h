#pragma once

#include <cstdint>

/// Grid sizes of layers and receptive fields, node positions, screen sizes.
struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
};

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
};
