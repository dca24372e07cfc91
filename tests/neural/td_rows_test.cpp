#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "td_rows.h"
#include "trace_rows.h"

namespace {

// Weights anywhere in the 32-bit range, the limits included, and values
// anywhere in (-1, 1], its ends included.
struct Draw {
  std::mt19937 random{17};
  FP12_20 Weight() {
    switch (random() % 8) {
      case 0: return INT32_MIN;
      case 1: return INT32_MAX;
      default: return static_cast<FP12_20>(random());
    }
  }
  FP12_20 Value() {
    switch (random() % 8) {
      case 0: return FP_ONE;
      case 1: return -FP_ONE + 1;
      case 2: return 0;
      default: return static_cast<FP12_20>(random() % (2 * FP_ONE)) - FP_ONE + 1;
    }
  }
};

TEST(TDRows, UnitRangeEndsAreExact) {
  EXPECT_FALSE(nx_td_rows::OutsideUnitRange(FP_ONE));
  EXPECT_FALSE(nx_td_rows::OutsideUnitRange(-FP_ONE + 1));
  EXPECT_FALSE(nx_td_rows::OutsideUnitRange(0));
  EXPECT_TRUE(nx_td_rows::OutsideUnitRange(FP_ONE + 1));
  EXPECT_TRUE(nx_td_rows::OutsideUnitRange(-FP_ONE));  // INT32_MIN times -1 would not fit
  EXPECT_TRUE(nx_td_rows::OutsideUnitRange(INT32_MIN));
  EXPECT_TRUE(nx_td_rows::OutsideUnitRange(INT32_MAX));
}

// Sums of every length around the vector width, fast and portable, against
// the sum of FpMul products; the products of a value in (-1, 1] never
// saturate, so FpMul is the exact product there.
TEST(TDRows, SumsAgreeWithFixedPointProducts) {
  Draw draw;
  const nx_td_rows::GatherSum fast = nx_td_rows::Select(), portable = nx_td_rows::Select(true);
  for (unsigned count = 0; count <= 70; ++count) {
    std::vector<FP12_20> weights(count), values(2 * count + 1);
    std::vector<uint32_t> slots(count);
    for (FP12_20& w : weights) w = draw.Weight();
    for (FP12_20& v : values) v = draw.Value();
    for (uint32_t& s : slots) s = draw.random() % values.size();
    int64_t gathered = 0;
    for (unsigned i = 0; i < count; ++i) gathered += FpMul(weights[i], values[slots[i]]);
    for (nx_td_rows::GatherSum sum : {fast, portable})
      EXPECT_EQ(sum(weights.data(), slots.data(), values.data(), count), gathered) << count;
  }
}

}  // namespace

// The vector loops of the training passes, which the nodes' own steps use
// too, against the element-by-element steps, on rows of every length around
// eight lanes, with weights that saturate.
TEST(TraceRows, RowStepsAgreeWithTheStepsElementByElement) {
  Draw draw;
  for (unsigned count = 0; count < 20; ++count) {
    std::vector<FP12_20> accum(count), traces(count), inputs(count), weights(count), errors(count);
    for (unsigned i = 0; i < count; ++i)
      accum[i] = draw.Value(), traces[i] = draw.Value(), inputs[i] = draw.Value(), weights[i] = draw.Weight(),
      errors[i] = draw.Weight();
    const FP12_20 negError = draw.Value(), persistence = draw.Value(), slope = draw.Value(), rate = draw.Weight();
    auto a = accum, t = traces, w = weights, e = errors;
    nx_rows::ExtendTraces(a.data(), t.data(), inputs.data(), count, negError, persistence, slope);
    nx_rows::AddScaled(e.data(), weights.data(), count, slope);
    for (unsigned i = 0; i < count; ++i) {
      EXPECT_EQ(a[i], FpAdd(accum[i], FpMul(negError, traces[i]))) << count;
      EXPECT_EQ(t[i], FpAdd(FpMul(traces[i], persistence), FpMul(slope, inputs[i]))) << count;
      EXPECT_EQ(e[i], FpAdd(errors[i], FpMul(slope, weights[i]))) << count;
    }
    accum = a, traces = t;
    nx_rows::LearnFromTraces(w.data(), a.data(), t.data(), count, negError, rate);
    for (unsigned i = 0; i < count; ++i) {
      const int64_t change = FpMul(rate, FpAdd(accum[i], FpMul(negError, traces[i])));
      EXPECT_EQ(w[i], std::clamp<int64_t>(int64_t{weights[i]} + change, INT32_MIN, INT32_MAX)) << count;
      EXPECT_EQ(a[i] | t[i], 0);
    }
  }
}
