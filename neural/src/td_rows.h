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

// nx_transfer::Sigmoid without a branch on the data: the sign of a net
// input and a table index past the end are as likely as not, so the
// choices are made by selection.
inline FP12_20 Sigmoid(FP12_20 x) {
  const nx_transfer::Tables& t = nx_transfer::tables;
  const FP12_20 magnitude = x >= 0 ? x : FpNeg(x);
  const FP12_20 scaled = FpMul(magnitude, nx_transfer::SCALE_25_5);
  const int32_t index = scaled < 0 ? nx_transfer::TABLE_SIZE : (scaled >> 20);
  const bool past = index > 254;
  const int32_t at = past ? 255 : index;
  const FP12_20 inside = FpAdd(t.Sigmoid[at], FpMul(FpSub(scaled, index << 20), t.SigmoidSteps[at]));
  const FP12_20 looked = past ? t.Sigmoid[255] : inside;
  return x >= 0 ? looked : FpSub(FP_ONE, looked);
}

// The sum of FpMul(weights[i], values[slots[i]]) over i < count, in 64 bits.
using GatherSum = int64_t (*)(const FP12_20* weights, const uint32_t* slots, const FP12_20* values, unsigned count);
// The same where the values lie side by side: values[i] for slot i.
using RowSum = int64_t (*)(const FP12_20* weights, const FP12_20* values, unsigned count);

// A value changed: for the connections it feeds, target entries
// begin <= t < end (begin a multiple of four, the entries padded with zero
// weights up to one), the change of each product goes to its owner's net
// input, which is marked stale:
//   nets[owners[t]] += FpMul(weights[t], value) - terms[t];
//   terms[t] = FpMul(weights[t], value);  stale[owners[t]] = 1
// `changes` has room for the entries rounded up to four.
using PassOn = void (*)(uint32_t begin, uint32_t end, FP12_20 value, const FP12_20* weights, FP12_20* terms,
                        const uint32_t* owners, int64_t* nets, uint8_t* stale, int64_t* changes);

constexpr uint32_t ENTRY_ALIGN = 4;

struct Kernels {
  PassOn passOn;
  GatherSum gatherSum;
  RowSum rowSum;
};

// The fastest kernels the processor runs; `portable` picks the plain ones,
// which give the same results everywhere.
Kernels Select(bool portable = false);

}  // namespace nx_td_rows
