#include <gtest/gtest.h>

// The score sheet window's size and place, from measured parts.
#include <optional>

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

TEST(ScoreSheetFit, TheSheetGoesBesideTheFrameAndStaysOnTheScreen) {
  const TRect screen{0, 0, 1366, 740};
  const TSize sheet{200, 300};
  struct Case {
    TRect Frame;
    int32_t Top;
    TPoint Expected;
  } cases[] = {
      {{100, 50, 700, 500}, 80, {708, 80}},       // room on the right
      {{700, 50, 1300, 500}, 80, {492, 80}},      // only on the left
      {{0, 0, 1366, 740}, 30, {1158, 30}},        // no room: over the frame's right edge
      {{-300, 600, 500, 1200}, 640, {508, 440}},  // low on the screen: lifted onto it
  };
  for (const Case& c : cases) {
    const TPoint place = PlaceBesideFrame(c.Frame, sheet, screen, c.Top);
    EXPECT_EQ(place.x, c.Expected.x) << c.Frame.left;
    EXPECT_EQ(place.y, c.Expected.y) << c.Frame.left;
  }
  // A frame dragged across the screen (and partly off it) takes the sheet
  // along: whole on the screen, level with the table, and clear of the
  // frame whenever there is room beside it; with room on the right it
  // keeps its distance from the frame.
  std::optional<TPoint> before;
  for (int32_t left = -400; left <= 1300; left += 25) {
    const TRect frame{left, 100, left + 700, 600};
    const TPoint place = PlaceBesideFrame(frame, sheet, screen, 130);
    const TRect placed = TRect::At(place, sheet);
    EXPECT_TRUE(placed.left >= 0 && placed.right <= screen.right) << left;
    EXPECT_EQ(place.y, 130) << left;
    const bool roomRight = screen.right - frame.right >= sheet.cx + 20;
    if (roomRight || frame.left - screen.left >= sheet.cx + 20) {
      EXPECT_TRUE(placed.left >= frame.right || placed.right <= frame.left) << left;
    }
    if (roomRight && before) {
      EXPECT_EQ(place.x - before->x, 25) << left;
    }
    before = roomRight ? std::optional<TPoint>(place) : std::nullopt;
  }
  // Larger than the screen: its top left shows.
  const TPoint place = PlaceBesideFrame({0, 0, 100, 100}, {2000, 900}, screen, 10);
  EXPECT_EQ(place.x, 0);
  EXPECT_EQ(place.y, 0);
}
