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
// The same where the values lie side by side: values[i] for slot i.
using RowSum = int64_t (*)(const FP12_20* weights, const FP12_20* values, unsigned count);

constexpr unsigned BLOCK_LANES = 8;

// How the values of eight neighbouring lanes of a block row lie, given
// their slots s[0..7]: Shared when every s[m] is s[0], Consecutive when
// every s[m] is s[0] + m, Scattered otherwise. The first two take one or
// two loads; scattered values are read one by one, which on some
// processors is faster than a gather instruction.
enum class Lanes : uint8_t { Scattered, Shared, Consecutive };

// The layout of eight slots.
Lanes LanesOf(const uint32_t* slots);

// A block's weights are kept as doubles scaled by 2^-20. The product of
// such a weight and a value in (-1, 1] has at most 51 significant bits, so
// it is exact, and its floor is FpMul's result; sums of fewer than 2^20 of
// them stay below 2^51 and are exact too.
inline double ScaledWeight(FP12_20 weight) { return weight * (1.0 / FP_SCALE); }
constexpr unsigned MAX_BLOCK_SOURCES = 1u << 16;

// The net inputs of a block of nodes that share no wiring among themselves
// and have as many sources each (fewer than MAX_BLOCK_SOURCES), side by
// side: for every lane j < lanes (a multiple of eight),
//   sums[j] += sum over i < sources of floor(weights[i * lanes + j] * values[slots[i * lanes + j]])
// which is the sum of FpMul over the lane's connections when each weight
// is ScaledWeight(w). The weights and slots of source i of all the nodes
// form one row; layouts[(i * lanes + j) / 8] is LanesOf the eight slots
// from i * lanes + j on, for j a multiple of eight.
using BlockSums = void (*)(const double* weights, const uint32_t* slots, const Lanes* layouts,
                           const FP12_20* values, unsigned sources, unsigned lanes, int64_t* sums);

struct Kernels {
  GatherSum gatherSum;
  RowSum rowSum;
  BlockSums blockSums;
};

// The fastest kernels the processor runs; `portable` picks the plain ones,
// which give the same results everywhere.
Kernels Select(bool portable = false);

}  // namespace nx_td_rows
