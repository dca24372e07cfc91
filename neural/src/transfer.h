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
const Tables& Get();

// Interpolated lookup at a non-negative argument; indexes past `last`
// saturate to table[last + 1] (or to steps[last + 1] for slope tables).
FP12_20 Lookup(const FP12_20* table, const FP12_20* steps, FP12_20 argument, FP12_20 scale);

// Output of a node of the given type for net input x.
FP12_20 Output(NODETYPE type, FP12_20 x);
// Slope (or pseudo-slope of the threshold types) at net input x, output o.
FP12_20 Derivative(NODETYPE type, FP12_20 x, FP12_20 o);

}  // namespace nx_transfer
