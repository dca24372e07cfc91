#pragma once

#include <atomic>
#include <cstdint>

#include "neural/fixed.h"

// Arithmetic that holds a result at the fixed-point limits instead of
// wrapping around. Results that fit are exactly those of the wrapping
// operations, so networks that never overflow compute what they always did.
// Every clamp is counted, so that a training run can say it happened.
namespace nx_saturation {

extern std::atomic<uint32_t> Events;

inline uint32_t EventCount() { return Events.load(std::memory_order_relaxed); }

// True when the value lies outside the 32-bit range: one comparison, for a
// test that runs once per connection and nearly always fails.
inline bool OutOfRange(int64_t value) {
  return __builtin_expect(static_cast<uint64_t>(value) - uint64_t{0xFFFFFFFF80000000} > 0xFFFFFFFFu, 0);
}

inline FP12_20 Clamp(int64_t value) {
  if (OutOfRange(value)) {
    Events.fetch_add(1, std::memory_order_relaxed);
    return value > 0 ? INT32_MAX : INT32_MIN;
  }
  return static_cast<FP12_20>(value);
}

inline FP12_20 Add(FP12_20 a, FP12_20 b) { return Clamp(int64_t{a} + b); }

// Clamp for loops over many values: no count per value; the loop notes
// whether any value was held and counts once with CountIf.
inline FP12_20 ClampNoting(int64_t value, bool& held) {
  if (OutOfRange(value)) {
    held = true;
    return value > 0 ? INT32_MAX : INT32_MIN;
  }
  return static_cast<FP12_20>(value);
}

inline void CountIf(bool held) {
  if (held) Events.fetch_add(1, std::memory_order_relaxed);
}

// The product of FpMul, before it is cut to 32 bits.
inline int64_t WideMul(FP12_20 a, FP12_20 b) { return (int64_t{a} * b) >> 20; }

inline FP12_20 Mul(FP12_20 a, FP12_20 b) { return Clamp(WideMul(a, b)); }

}  // namespace nx_saturation
