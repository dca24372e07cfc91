#pragma once

#include "neural/fixed.h"

namespace nx_rows {

// The observation step over one node's connections, element by element:
//   accum[i]  += FpMul(negError, traces[i])                (the old trace)
//   traces[i]  = FpMul(traces[i], persistence) + FpMul(slope, inputs[i])
// with the same wrapping 32-bit results whichever instructions compute it.
void ExtendTraces(FP12_20* accum, FP12_20* traces, const FP12_20* inputs, unsigned count, FP12_20 negError,
                  FP12_20 persistence, FP12_20 slope);

// The end of a sequence over one node's weights, element by element:
//   weights[i] += FpMul(rate, accum[i] + FpMul(negError, traces[i]))
// the sum held at the fixed-point limits, after which accum[i] and
// traces[i] are 0.
void LearnFromTraces(FP12_20* weights, FP12_20* accum, FP12_20* traces, unsigned count, FP12_20 negError,
                     FP12_20 rate);

// The error passed back through one node's weights to sources that lie side
// by side, element by element:
//   errors[i] += FpMul(delta, weights[i])
void AddScaled(FP12_20* errors, const FP12_20* weights, unsigned count, FP12_20 delta);

}  // namespace nx_rows
