#pragma once

#include <cstdint>

#include "neural/fixed.h"
#include "transfer.h"

// The sums of a temporal-difference network's forward pass over whole rows
// of connections. Every routine here assumes the values it multiplies
// lie in (-1, 1] (as FP12_20), where no product can leave the 32-bit range:
// there FpMul and the saturating product agree, and nothing needs counting.
namespace nx_td_rows {

// True when a product of any weight with the value might saturate.
inline bool OutsideUnitRange(FP12_20 value) {
  return static_cast<uint32_t>(value) + uint32_t{FP_ONE - 1} >= 2u * FP_ONE;
}

// nx_transfer::Sigmoid without a branch on the sign of the net input,
// which is as likely positive as negative: with s all ones for a negative
// x and 0 otherwise, (x ^ s) - s is FpNeg(x) or x, and
// ((y ^ s) - s) + (s & FP_ONE) is FP_ONE - y or y, all wrapping as the
// fixed-point operations do. Back-propagation keeps the branch: its
// patterns come round in the same order, which the branch learns, and
// there the masks cost more than they save.
inline FP12_20 Sigmoid(FP12_20 x) {
  const nx_transfer::Tables& t = nx_transfer::tables;
  const uint32_t sign = static_cast<uint32_t>(x >> 31);
  const FP12_20 magnitude = static_cast<FP12_20>((static_cast<uint32_t>(x) ^ sign) - sign);
  const FP12_20 scaled = FpMul(magnitude, nx_transfer::SCALE_25_5);
  const int32_t index = scaled < 0 ? nx_transfer::TABLE_SIZE : (scaled >> 20);
  const bool past = index > 254;
  const int32_t at = past ? 255 : index;
  const FP12_20 inside = FpAdd(t.Sigmoid[at], FpMul(FpSub(scaled, index << 20), t.SigmoidSteps[at]));
  const uint32_t looked = static_cast<uint32_t>(past ? t.Sigmoid[255] : inside);
  return static_cast<FP12_20>(((looked ^ sign) - sign) + (sign & uint32_t{FP_ONE}));
}

// The sum of FpMul(weights[i], values[slots[i]]) over i < count, in 64 bits.
using GatherSum = int64_t (*)(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned count);

// The fastest sum the processor runs; `portable` picks the plain one, which
// gives the same results everywhere.
GatherSum Select(bool portable = false);

}  // namespace nx_td_rows
