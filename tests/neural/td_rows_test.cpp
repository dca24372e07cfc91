#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "td_rows.h"
#include "transfer.h"

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

// Sums of every length around the row width, from both kernel sets, against
// the sum of FpMul products; the products of a value in (-1, 1] never
// saturate, so FpMul is the exact product there.
TEST(TDRows, SumsAgreeWithFixedPointProducts) {
  Draw draw;
  const nx_td_rows::Kernels fast = nx_td_rows::Select(), portable = nx_td_rows::Select(true);
  for (unsigned count = 0; count <= 70; ++count) {
    std::vector<FP12_20> weights(count), values(2 * count + 1);
    std::vector<uint32_t> slots(count);
    for (FP12_20& w : weights) w = draw.Weight();
    for (FP12_20& v : values) v = draw.Value();
    for (uint32_t& s : slots) s = draw.random() % values.size();
    int64_t gathered = 0, row = 0;
    for (unsigned i = 0; i < count; ++i) {
      gathered += FpMul(weights[i], values[slots[i]]);
      row += FpMul(weights[i], values[i]);
      ASSERT_EQ(int64_t{FpMul(weights[i], values[i])}, (int64_t{weights[i]} * values[i]) >> 20);
    }
    for (const nx_td_rows::Kernels& k : {fast, portable}) {
      EXPECT_EQ(k.gatherSum(weights.data(), slots.data(), values.data(), count), gathered) << count;
      EXPECT_EQ(k.rowSum(weights.data(), values.data(), count), row) << count;
    }
  }
}

// Blocks of nodes side by side, each lane its own sum, added to what the
// lanes held: weights anywhere in range, whose sums leave 32 bits, and
// small ones, whose sums stay within, eight lanes at a time with one lane
// of large weights among small ones.
TEST(TDRows, BlockSumsAddEveryLanesProducts) {
  Draw draw;
  for (const nx_td_rows::Kernels& k : {nx_td_rows::Select(), nx_td_rows::Select(true)})
    for (int size : {0, 1, 2})
      for (unsigned lanes : {8u, 16u, 48u})
        for (unsigned sources : {0u, 1u, 3u, 16u, 63u}) {
          std::vector<FP12_20> weights(sources * lanes), values(80);
          std::vector<uint32_t> slots(sources * lanes);
          const int32_t small = static_cast<int32_t>((uint32_t{1} << 31) / (sources + 1));
          for (unsigned n = 0; n < weights.size(); ++n) {
            const bool large = size == 0 || (size == 2 && n % lanes == 3);
            weights[n] = large ? draw.Weight() : static_cast<int32_t>(draw.random() % small) - small / 2;
          }
          for (FP12_20& v : values) v = draw.Value();
          for (uint32_t& s : slots) s = draw.random() % values.size();
          std::vector<int64_t> sums(lanes), expected(lanes);
          for (unsigned j = 0; j < lanes; ++j) sums[j] = expected[j] = static_cast<int32_t>(draw.random());
          for (unsigned i = 0; i < sources; ++i)
            for (unsigned j = 0; j < lanes; ++j)
              expected[j] += FpMul(weights[i * lanes + j], values[slots[i * lanes + j]]);
          k.blockSums(weights.data(), slots.data(), values.data(), sources, lanes, sums.data());
          EXPECT_EQ(sums, expected) << size << " " << lanes << " " << sources;
        }
}

// The selection-based sigmoid against the table lookup with branches, over
// the whole range at a coarse step and densely around the ends of the
// table and zero.
TEST(TDRows, SigmoidAgreesWithTheTableLookup) {
  nx_transfer::BuildTables();
  auto expectSame = [](FP12_20 x) { ASSERT_EQ(nx_td_rows::Sigmoid(x), nx_transfer::Sigmoid(x)) << x; };
  for (int64_t x = INT32_MIN; x <= INT32_MAX; x += 65537) expectSame(static_cast<FP12_20>(x));
  const FP12_20 tableEnd = static_cast<FP12_20>(254.0 / 25.5 * FP_SCALE);
  for (FP12_20 centre : {0, tableEnd, -tableEnd, INT32_MAX - 5000, INT32_MIN + 5000})
    for (FP12_20 d = -5000; d <= 5000; ++d) expectSame(centre + d);
  expectSame(INT32_MIN);
  expectSame(INT32_MAX);
}

}  // namespace
