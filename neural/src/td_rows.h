#pragma once

#include <cstdint>

#include "neural/fixed.h"

// The sums of a temporal-difference network's forward pass over whole rows
// of connections. Every routine here assumes the values it multiplies
// lie in (-1, 1] (as FP12_20), where no product can leave the 32-bit range:
// there FpMul and the saturating product agree, and nothing needs counting.
namespace nx_td_rows {

// True when a product of any weight with the value might saturate.
inline bool OutsideUnitRange(FP12_20 value) {
  return static_cast<uint32_t>(value) + uint32_t{FP_ONE - 1} >= 2u * FP_ONE;
}

// The sum of FpMul(weights[i], values[slots[i]]) over i < count, in 64 bits.
using GatherSum = int64_t (*)(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned count);

// The fastest sum the processor runs; `portable` picks the plain one, which
// gives the same results everywhere.
GatherSum Select(bool portable = false);

}  // namespace nx_td_rows
