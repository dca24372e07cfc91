#include "neural/random.h"

#include <gtest/gtest.h>

TEST(RandomGenerator, DefaultSequenceIsFixed) {
  NxRandomGenerator gen;
  const int32_t expected[] = {44502, 483590, 328551, 248227, 59528};
  for (int32_t value : expected) EXPECT_EQ(gen.rand(), value);
}

TEST(RandomGenerator, FirstTableEntryFollowsFromSeed797) {
  // 797 * 1366 + 150889 = 1239591, mod 714025 = 525566: the first entry.
  NxRandomGenerator gen;
  gen.Seed = 797;
  gen.InitTable();
  NxRandomGenerator fresh;
  for (int i = 0; i < 20; ++i) EXPECT_EQ(gen.rand(), fresh.rand());
}

TEST(RandomGenerator, ReseedingRestartsTheSequence) {
  NxRandomGenerator a, b;
  a.Seed = 12345;
  a.InitTable();
  b.Seed = 12345;
  b.InitTable();
  std::vector<int32_t> first;
  for (int i = 0; i < 100; ++i) {
    first.push_back(a.rand());
    EXPECT_EQ(first.back(), b.rand());
  }
  a.Seed = 12345;
  a.InitTable();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.rand(), first[i]);
}

TEST(RandomGenerator, ExtremeSeedsStayInRange) {
  for (int32_t seed : {0, 1, 714024}) {
    NxRandomGenerator gen;
    gen.Seed = seed;
    gen.InitTable();
    for (int i = 0; i < 100000; ++i) {
      int32_t v = gen.rand();
      ASSERT_GE(v, 0);
      ASSERT_LT(v, 714025);
    }
  }
}

TEST(RandomGenerator, ASeedAboveTheRangeActsAsItsRemainder) {
  NxRandomGenerator large, reduced;
  large.Seed = 20261208;
  large.InitTable();
  reduced.Seed = 20261208 % 714025;
  reduced.InitTable();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(large.rand(), reduced.rand());
}

TEST(RandomGenerator, ZeroSeedFirstStepIs150889) {
  // Seed 0 fills the table with the steps x -> (1366 x + 150889) mod 714025
  // from 0, so entry 0 is 150889; the 98th step, 507443, leaves in entry
  // 96 first. Entry 0 is first drawn at the 40th value, still unreplaced.
  // Worked out from the recurrence, not from this generator.
  NxRandomGenerator gen;
  gen.Seed = 0;
  gen.InitTable();
  const int32_t first[] = {507443, 674926, 520648, 544844, 246850};
  for (int32_t value : first) EXPECT_EQ(gen.rand(), value);
  for (int i = 6; i < 40; ++i) gen.rand();
  EXPECT_EQ(gen.rand(), 150889);
}

TEST(RandomGeneratorDeathTest, SeedOutsideRangeStopsWithConditionText) {
  NxRandomGenerator gen;
  gen.Seed = -200;  // negative seeds give negative remainders
  gen.InitTable();
  EXPECT_DEATH(
      {
        for (int i = 0; i < 1000; ++i) gen.rand();
      },
      "Assertion failed: index > -1");
}
