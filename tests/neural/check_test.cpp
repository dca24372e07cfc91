#include "neural/check.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

void ShowInBox(const char* condition, const char* file, unsigned line) {
  std::fprintf(stderr, "[box] %s at %s:%u\n", condition, file, line);
}

void FailAgain(const char*, const char*, unsigned) { NX_CHECK(2 + 2 == 5); }

int Zero() { return 0; }

TEST(CheckDeathTest, DefaultReportNamesConditionFileAndLine) {
  EXPECT_DEATH(NX_CHECK(Zero() == 1), "Assertion failed: Zero\\(\\) == 1, file .*check_test.cpp, line [0-9]+");
}

TEST(CheckDeathTest, InstalledHandlerIsShownTheFailureBeforeTheStop) {
  // The handler runs in the child only, so the parent keeps the default.
  EXPECT_DEATH(
      {
        NxSetCheckHandler(ShowInBox);
        NX_CHECK_TEXT(Zero() == 1, "capacity");
      },
      "^\\[box\\] capacity at .*check_test.cpp:[0-9]+\n$");
}

TEST(CheckDeathTest, AHandlerThatFailsItselfFallsBackToStderr) {
  EXPECT_DEATH(
      {
        NxSetCheckHandler(FailAgain);
        NX_CHECK(Zero() == 1);
      },
      "Assertion failed: 2 \\+ 2 == 5");
}

TEST(Check, SettingAHandlerReturnsThePreviousAndNullRestoresTheDefault) {
  NxCheckHandler original = NxSetCheckHandler(ShowInBox);
  EXPECT_NE(original, nullptr);
  EXPECT_EQ(NxSetCheckHandler(nullptr), ShowInBox);
  EXPECT_EQ(NxSetCheckHandler(original), original);
  NX_CHECK(Zero() == 0);
}

}  // namespace
