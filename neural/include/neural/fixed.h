#pragma once

/// @file fixed.h
/// @brief FP12_20, the fixed-point numbers nodes compute in, and their arithmetic.
///
/// The arithmetic wraps around in 32 bits like the hardware it models; of
/// these functions only ToFixed() saturates.

#include <cmath>
#include <cstdint>

/// Signed 32-bit fixed point with 20 fractional bits: 1.0 = 1048576.
using FP12_20 = int32_t;

constexpr FP12_20 FP_ONE = 0x100000;  ///< 1.0
constexpr FP12_20 FP_HALF = 0x80000;  ///< 0.5
constexpr double FP_SCALE = 1048576.0;  ///< FP_ONE as a double: the factor between the two forms

/// Truncates toward zero. Values outside the representable range saturate and
/// NaN becomes 0, so no input can make the conversion undefined.
inline FP12_20 ToFixed(double value) {
  double scaled = value * FP_SCALE;
  if (!(scaled == scaled)) return 0;
  if (scaled >= 2147483647.0) return INT32_MAX;
  if (scaled <= -2147483648.0) return INT32_MIN;
  return static_cast<FP12_20>(scaled);
}

/// The exact value of a fixed-point number.
inline double ToDouble(FP12_20 value) { return value * (1.0 / FP_SCALE); }

/// 64-bit product, arithmetic shift, truncated to 32 bits.
inline FP12_20 FpMul(FP12_20 a, FP12_20 b) {
  return static_cast<FP12_20>(static_cast<uint32_t>((static_cast<int64_t>(a) * b) >> 20));
}

/// a / b, truncated toward zero and to 32 bits; `b` must not be 0.
inline FP12_20 FpDiv(FP12_20 a, FP12_20 b) {
  return static_cast<FP12_20>(static_cast<uint32_t>((static_cast<int64_t>(a) * FP_ONE) / b));
}

/// Sums wrap around in 32 bits like the hardware adds they model.
inline FP12_20 FpAdd(FP12_20 a, FP12_20 b) {
  return static_cast<FP12_20>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

/// a - b, wrapping as FpAdd() does.
inline FP12_20 FpSub(FP12_20 a, FP12_20 b) {
  return static_cast<FP12_20>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

/// -a, wrapping: the most negative value stays itself.
inline FP12_20 FpNeg(FP12_20 a) { return static_cast<FP12_20>(0u - static_cast<uint32_t>(a)); }

/// |a|, wrapping as FpNeg() does.
inline FP12_20 FpAbs(FP12_20 a) { return a < 0 ? FpNeg(a) : a; }
