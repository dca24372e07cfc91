#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "store/preferences.h"
#include "ui/failure_handlers.h"
#include "ui/frame_size.h"
#include "ui/startup_checks.h"

TEST(StartupChecks, PlatformVersionMustReachTheBuildsVersion) {
  EXPECT_TRUE(IsSupportedPlatform(ParsePlatformVersion("6.4.2"), {6, 4}));
  EXPECT_TRUE(IsSupportedPlatform(ParsePlatformVersion("7.0"), {6, 4}));
  EXPECT_FALSE(IsSupportedPlatform(ParsePlatformVersion("6.3.9"), {6, 4}));
  EXPECT_FALSE(IsSupportedPlatform(ParsePlatformVersion("5.15.2"), {6, 4}));
  for (const char* unreadable : {"", "6", "6.", "x.4", ".4", "-1.2"})
    EXPECT_FALSE(IsSupportedPlatform(ParsePlatformVersion(unreadable), {0, 0})) << unreadable;
  try {
    CheckPlatform({6, 1}, {6, 2});
    FAIL() << "accepted an older platform";
  } catch (const StartupFailure& failure) {
    EXPECT_STREQ(failure.what(), "Quorla 32-bit edition requires Windows 95");
  }
}

TEST(StartupChecks, InstallationIsTheDirectoryOfAProgramNamedQuorla32) {
  EXPECT_EQ(InstallationDirectoryOf("/opt/games/QUORLA32"), "/opt/games/");
  EXPECT_EQ(InstallationDirectoryOf("/home/a/build/quorla32"), "/home/a/build/");
  EXPECT_EQ(InstallationDirectoryOf("/QUORLA32"), "/");
  // A directory with the program's name is not the program.
  for (const char* wrong : {"/opt/QUORLA32/quorla", "/opt/x/QUORLA32.bak", "/opt/x/MYQUORLA32", "QUORLA32", ""}) {
    try {
      InstallationDirectoryOf(wrong);
      ADD_FAILURE() << "accepted " << wrong;
    } catch (const StartupFailure& failure) {
      EXPECT_STREQ(failure.what(), "Application Path Error");
    }
  }
}

TEST(StartupChecks, FrameSizeFollowsTheMetricsAndTheButtonBar) {
  Preferences prefs;
  prefs.HideToolbar = true;
  EXPECT_EQ(FrameWindowSize(19, 19, prefs).cx, 588);
  EXPECT_EQ(FrameWindowSize(19, 19, prefs).cy, 453);
  EXPECT_EQ(FrameWindowSize(24, 24, prefs).cy, 466);  // (48 - 38) * 13 / 10 = 13
  prefs.HideToolbar = false;
  const int32_t widths[] = {624, 624, 588, 588}, heights[] = {453, 453, 483, 483};
  for (uint32_t location = 0; location < 4; ++location) {
    prefs.ToolbarLocation = location;
    EXPECT_EQ(FrameWindowSize(19, 19, prefs).cx, widths[location]) << location;
    EXPECT_EQ(FrameWindowSize(19, 19, prefs).cy, heights[location]) << location;
  }
  EXPECT_FALSE(WorkAreaTooSmall({586, 451}, {588, 453}));  // two pixels of slack
  EXPECT_TRUE(WorkAreaTooSmall({585, 900}, {588, 453}));
  EXPECT_TRUE(WorkAreaTooSmall({1280, 450}, {588, 453}));
}

TEST(FailureHandlers, EachFailureShowsItsTextAndEndsWithCodeOne) {
  std::vector<std::string> shown;
  const FailureReport report = [&](const std::string& caption, const std::string& text) {
    shown.push_back(caption + "|" + text);
  };
  EXPECT_EQ(RunWithFailureHandlers([] { return 0; }, report), 0);
  EXPECT_EQ(RunWithFailureHandlers([] { return 3; }, report), 3);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(RunWithFailureHandlers([]() -> int { throw std::bad_alloc(); }, report), 1);
  EXPECT_EQ(RunWithFailureHandlers([]() -> int { throw std::runtime_error("Application Path Error"); }, report), 1);
  EXPECT_EQ(RunWithFailureHandlers([]() -> int { throw 42; }, report), 1);
  EXPECT_EQ(RunWithFailureHandlers([]() -> int { throw std::runtime_error(""); }, report), 1);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0],
            "Abnormal Quorla Termination|Insufficient memory to run Quorla.  Make\n\t\t\t\nsure sytem resources are "
            "not depleted.");
  EXPECT_EQ(shown[1], "Quorla Abnormal Termination|Application Path Error");
  EXPECT_EQ(shown[2], "Quorla Abnormal Termination|An unknown error occured while running Quorla");
  EXPECT_EQ(shown[3], shown[2]);
}
