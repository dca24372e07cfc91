#include "ui/color_resolution.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/setting_keys.h"
#include "store/settings_store.h"

TEST(ColorResolution, AChangeIsRecordedAndWarnedAboutOnce) {
  const auto path = std::filesystem::temp_directory_path() / "quorla-colour-resolution.ini";
  std::filesystem::remove(path);
  SettingsStore settings("Quorla", path.string(), true);
  // A first start records the screen's resolution without a warning.
  EXPECT_FALSE(CheckColorResolution(settings, 24, true).Warning.has_value());
  EXPECT_EQ(ReadSetting(settings, keys::ColorResolution32), 24u);
  // A recorded 8 and a 32-bit screen is a change.
  WriteSetting(settings, keys::ColorResolution32, 8);
  ColorResolutionCheck check = CheckColorResolution(settings, 32, true);
  EXPECT_EQ(check.Current, 32u);
  ASSERT_TRUE(check.Warning.has_value());
  EXPECT_EQ(check.Warning->Caption, "Quorla Backdrop Scenery Warning");
  EXPECT_EQ(check.Warning->Text, "Because of a change in system color resolution, you may need to reselect scenery.");
  EXPECT_EQ(check.Warning->Icon, BackdropIcon::INFORMATION);
  EXPECT_EQ(ReadSetting(settings, keys::ColorResolution32), 32u);
  EXPECT_FALSE(CheckColorResolution(settings, 32, true).Warning.has_value());
  // Recorded but not warned about when no warning is asked for, or the stored value was 0.
  EXPECT_FALSE(CheckColorResolution(settings, 16, false).Warning.has_value());
  EXPECT_EQ(ReadSetting(settings, keys::ColorResolution32), 16u);
  WriteSetting(settings, keys::ColorResolution32, 0);
  EXPECT_FALSE(CheckColorResolution(settings, 24, true).Warning.has_value());
  EXPECT_EQ(ReadSetting(settings, keys::ColorResolution32), 24u);
  std::filesystem::remove(path);
}

TEST(ColorResolution, OnlyLowColourDisplaysAskAboutRicherPictures) {
  EXPECT_TRUE(NeedsColorResolutionQuestion(4, 8));
  EXPECT_FALSE(NeedsColorResolutionQuestion(8, 24));
  EXPECT_FALSE(NeedsColorResolutionQuestion(4, 4));
  EXPECT_FALSE(NeedsColorResolutionQuestion(32, 24));
}
