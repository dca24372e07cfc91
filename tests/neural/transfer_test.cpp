#include <gtest/gtest.h>

#include <cstdint>

#include "transfer.h"

namespace {

// The sigmoid without branches against the lookup with them, over the
// whole range at a coarse step and densely around the ends of the table
// and zero.
TEST(TransferTables, SigmoidWithoutBranchesAgreesWithTheLookup) {
  nx_transfer::BuildTables();
  const nx_transfer::Tables& t = nx_transfer::tables;
  auto branching = [&t](FP12_20 x) {
    if (x >= 0) return nx_transfer::Lookup(t.Sigmoid, t.SigmoidSteps, x, nx_transfer::SCALE_25_5);
    return FpSub(FP_ONE, nx_transfer::Lookup(t.Sigmoid, t.SigmoidSteps, FpNeg(x), nx_transfer::SCALE_25_5));
  };
  auto expectSame = [&](FP12_20 x) { ASSERT_EQ(nx_transfer::Sigmoid(x), branching(x)) << x; };
  for (int64_t x = INT32_MIN; x <= INT32_MAX; x += 65537) expectSame(static_cast<FP12_20>(x));
  const FP12_20 tableEnd = static_cast<FP12_20>(254.0 / 25.5 * FP_SCALE);
  for (FP12_20 centre : {0, tableEnd, -tableEnd, INT32_MAX - 5000, INT32_MIN + 5000})
    for (FP12_20 d = -5000; d <= 5000; ++d) expectSame(centre + d);
  expectSame(INT32_MIN);
  expectSame(INT32_MAX);
}

}  // namespace
