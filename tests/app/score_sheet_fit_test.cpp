#include <gtest/gtest.h>

// The score sheet window's size and place, from measured parts.

#include "app/score_sheet_fit.h"

namespace {

SheetWindowParts TypicalParts() {
  SheetWindowParts parts;
  parts.Unit = {8, 16};
  parts.WidestText = 45;
  parts.LabelsRight = 10 * 8 + 62;
  parts.TitleText = 120;
  parts.TitleBarHeight = 28;
  parts.ScrollBarWidth = 15;
  parts.FrameWidth = 2;
  parts.Margins = {12, 10};
  return parts;
}

}  // namespace

TEST(ScoreSheetFit, TheWindowHoldsTheTitleTheColumnsAndNineWholeLines) {
  SheetWindowParts parts = TypicalParts();
  SheetWindowFit fit = FitScoreSheetWindow(parts);
  EXPECT_EQ(fit.LeftInset, 0);
  // Title and its buttons decide the width here, and the sheet grows to it.
  EXPECT_EQ(fit.WindowWidth, 120 + 3 * 28);
  EXPECT_EQ(fit.Sheet.cx, fit.WindowWidth - 12);
  EXPECT_GE(fit.Sheet.cx - 15 - 4, 18 * 8);
  // Nine lines plus the pixel the winner's margin drops.
  EXPECT_GE(fit.Sheet.cy - 4, 9 * 16 + 1);

  // A short title: the columns decide; a wide font for the totals moves the
  // drawing right rather than cutting the human's column.
  parts.TitleText = 10;
  parts.WidestText = 7 * 8 + 5;
  fit = FitScoreSheetWindow(parts);
  EXPECT_EQ(fit.LeftInset, 5);
  EXPECT_EQ(fit.Sheet.cx, 5 + 19 * 8 + 15 + 4);
  EXPECT_EQ(fit.WindowWidth, fit.Sheet.cx + 12);
  // Wide labels widen it too.
  parts.LabelsRight = 400;
  EXPECT_EQ(FitScoreSheetWindow(parts).WindowWidth, 5 + 400 + 15 + 4 + 12);
}
