#pragma once

#include "neural/fixed.h"
#include "neural/types.h"

// Transfer functions of the node types, computed from lookup tables sampled
// once per process, so that no node ever evaluates an exponential.
namespace nx_transfer {

constexpr int TABLE_SIZE = 256;
constexpr FP12_20 SCALE_25_5 = 26738688;   // 25.5 samples per unit
constexpr FP12_20 SCALE_63_75 = 66846720;  // 63.75 samples per unit

struct Tables {
  FP12_20 Sigmoid[TABLE_SIZE];
  FP12_20 SigmoidSteps[TABLE_SIZE];
  FP12_20 Peak[TABLE_SIZE];
  FP12_20 PeakSteps[TABLE_SIZE];
  FP12_20 PeakCurvature[TABLE_SIZE];
  FP12_20 Slope[TABLE_SIZE];
  FP12_20 SlopeSteps[TABLE_SIZE];
};

// Builds the tables on the first call.
void BuildTables();

// The tables themselves, for the lookups below, which run once per node
// evaluation and so stay inline.
extern Tables tables;

// Splits t = argument * scale into a table index and the fraction past it.
// A negative product comes from overflow and counts as past the table.
inline void IndexAndFraction(FP12_20 argument, FP12_20 scale, int32_t& index, FP12_20& fraction) {
  FP12_20 t = FpMul(argument, scale);
  index = t < 0 ? TABLE_SIZE : (t >> 20);
  fraction = FpSub(t, index << 20);
}

// Interpolated lookup at a non-negative argument; indexes past `last`
// saturate to table[last + 1] (or to steps[last + 1] for slope tables).
inline FP12_20 Lookup(const FP12_20* table, const FP12_20* steps, FP12_20 argument, FP12_20 scale) {
  int32_t index;
  FP12_20 fraction;
  IndexAndFraction(argument, scale, index, fraction);
  if (index > 254) return table[255];
  return FpAdd(table[index], FpMul(fraction, steps[index]));
}

inline FP12_20 Sigmoid(FP12_20 x) {
  if (x >= 0) return Lookup(tables.Sigmoid, tables.SigmoidSteps, x, SCALE_25_5);
  return FpSub(FP_ONE, Lookup(tables.Sigmoid, tables.SigmoidSteps, FpNeg(x), SCALE_25_5));
}

// Output of a node of the given type for net input x.
inline FP12_20 Output(NODETYPE type, FP12_20 x) {
  switch (type) {
    case SIGMOID:
      return Sigmoid(x);
    case LINEAR:
      return x;
    case PEAKED:
      return Lookup(tables.Peak, tables.PeakSteps, FpAbs(x), SCALE_63_75);
    case BINARY:
    case OR:
      return x > 0 ? FP_ONE : 0;
    case AND:
      return x >= FP_ONE ? FP_ONE : 0;
    case MAJORITY:
      return x > FP_HALF ? FP_ONE : 0;
    default:
      return 0;
  }
}

// Slope of the types other than SIGMOID.
FP12_20 TableDerivative(NODETYPE type, FP12_20 x);

// Slope (or pseudo-slope of the threshold types) at net input x, output o.
// The sigmoid's, by far the most common, needs no table.
inline FP12_20 Derivative(NODETYPE type, FP12_20 x, FP12_20 o) {
  return type == SIGMOID ? FpMul(o, FpSub(FP_ONE, o)) : TableDerivative(type, x);
}

// A logic node's net input: the mean of its sources' outputs, cut to 32
// bits; one left without sources (only possible when validation is
// skipped) outputs 0.
inline FP12_20 LogicNet(int64_t sum, unsigned count) {
  return count ? static_cast<FP12_20>(static_cast<uint32_t>(sum / int64_t(count))) : 0;
}

}  // namespace nx_transfer
