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
