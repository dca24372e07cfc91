#include "app/dialog_texts.h"

#include <gtest/gtest.h>

#include "app/difficulty_change.h"
#include "game/rules.h"
#include "game/string_table.h"
#include "game/text_ids.h"

TEST(DialogTexts, TextsAreKeptExactly) {
  EXPECT_STREQ(ResourceString(ELEVEN_TEN_OPTION), "Eleven/Ten -- (Simple && Standard Gin) first player");
  EXPECT_STREQ(ResourceString(TRADITIONAL_OPTION), "Traditional -- 10 cards/player; first player must take ");
  EXPECT_STREQ(ResourceString(OUT_OF_MEMORY), "Insufficient memory to run Quorla.  Make\n\t\t\t\nsure sytem resources are not depleted.");
  EXPECT_STREQ(ResourceString(UNKNOWN_ERROR), "An unknown error occured while running Quorla");
  EXPECT_EQ(ResetQuestion(2),
            "Resetting difficulty level 3 to its default will destroy any dynamic learning for that level. Do you "
            "really want to reset?");
  EXPECT_STREQ(ResourceString(ResetQuestionCaption()), "Warning");
}

TEST(DialogTexts, TheFrameTitleNamesTheConfigurationAndTheVariation) {
  EXPECT_EQ(FrameTitle("Default", SIMPLE_GIN), "Quorla - Simple Gin Variation");
  EXPECT_EQ(FrameTitle("bob", OKLAHOMA_GIN), "Quorla [bob] - Oklahoma Gin Variation");
  EXPECT_EQ(IntroductionRulesText(OKLAHOMA_GIN, 250),
            "You are playing Oklahoma Gin to 250 points. To play another variation or to another target, choose "
            "Options > Variations...");
  EXPECT_EQ(IntroductionRulesText(SIMPLE_GIN, 100).substr(0, 27), "You are playing Simple Gin ");
}
