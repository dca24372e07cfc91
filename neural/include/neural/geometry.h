#pragma once

/// @file geometry.h
/// @brief Sizes and positions on the grids of layers and fields.

#include <cstdint>

/// Grid sizes of layers and receptive fields, node positions, screen sizes.
struct TSize {
  int32_t cx = 0;  ///< across: columns, or the x component
  int32_t cy = 0;  ///< down: rows, or the y component
};

/// A position on a grid: column x and row y, from (0, 0) at the top left.
struct TPoint {
  int32_t x = 0;  ///< the column
  int32_t y = 0;  ///< the row
};
