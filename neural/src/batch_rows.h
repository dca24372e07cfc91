#pragma once

#include <algorithm>
#include <cstdint>

#include "neural/fixed.h"
#include "saturation.h"

// The per-connection loops of batch learning over one node's row. Gradients
// are summed in 64 bits, so that an epoch of any length cannot overflow them
// before the step divides or takes their sign.
namespace nx_batch {

[[gnu::always_inline]] inline void AddGradientRow(int64_t* gradient, const FP12_20* x, unsigned count,
                                                  FP12_20 delta) {
  for (unsigned i = 0; i < count; ++i) gradient[i] += nx_saturation::WideMul(delta, x[i]);
}

// The same sums, with vector instructions where the processor has them.
void AddGradientRowFast(int64_t* gradient, const FP12_20* x, unsigned count, FP12_20 delta);

// Weight decay: the gradient of decay / 2 times the squared weight.
inline void AddDecayRow(int64_t* gradient, const FP12_20* w, unsigned count, FP12_20 decay) {
  for (unsigned i = 0; i < count; ++i) gradient[i] += nx_saturation::WideMul(decay, w[i]);
}

struct RpropLimits {
  FP12_20 MinStep;
  FP12_20 MaxStep;
  FP12_20 Increase;
  FP12_20 Decrease;
};

inline int8_t SignOf(int64_t value) { return static_cast<int8_t>((value > 0) - (value < 0)); }

// iRPROP-: after a flip of the gradient's sign the weight stays where it is
// and the next step starts afresh, which keeps the rule free of the
// oscillation that plain RPROP's backtracking needs to undo.
inline void RpropRow(FP12_20* w, FP12_20* steps, int8_t* signs, int64_t* gradient, unsigned count,
                     const RpropLimits& limits, bool& held) {
  for (unsigned i = 0; i < count; ++i) {
    int8_t sign = SignOf(gradient[i]);
    gradient[i] = 0;
    const int product = sign * signs[i];
    if (product > 0) {
      // At least one unit more, or a step of a few units could never grow.
      int64_t grown = std::max<int64_t>(nx_saturation::WideMul(steps[i], limits.Increase), int64_t{steps[i]} + 1);
      steps[i] = static_cast<FP12_20>(std::min<int64_t>(grown, limits.MaxStep));
    } else if (product < 0) {
      steps[i] = std::max(static_cast<FP12_20>(nx_saturation::WideMul(steps[i], limits.Decrease)), limits.MinStep);
      sign = 0;
    }
    signs[i] = sign;
    w[i] = nx_saturation::ClampNoting(int64_t{w[i]} - int64_t{sign} * steps[i], held);
  }
}

// Gradient descent on the mean gradient of the epoch, with momentum.
inline void GradientRow(FP12_20* w, FP12_20* prev, int64_t* gradient, unsigned count, int64_t patterns,
                        FP12_20 rate, FP12_20 momentum, bool& held) {
  for (unsigned i = 0; i < count; ++i) {
    const FP12_20 mean = nx_saturation::ClampNoting(gradient[i] / patterns, held);
    gradient[i] = 0;
    const int64_t delta = nx_saturation::WideMul(momentum, prev[i]) - nx_saturation::WideMul(rate, mean);
    w[i] = nx_saturation::ClampNoting(w[i] + delta, held);
    prev[i] = nx_saturation::ClampNoting(delta, held);
  }
}

}  // namespace nx_batch
