#include "ui/decoration_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "game/table_geometry.h"

namespace {

// A backdrop of one colour with the knock area (edges included) in another.
NxBitmap WithKnockArea(uint32_t outside, uint32_t inside, int32_t scale) {
  NxBitmap backdrop(TABLE_AREA.Width() * scale, TABLE_AREA.Height() * scale, outside);
  for (int32_t y = KNOCK_AREA.top * scale; y < (KNOCK_AREA.bottom + 1) * scale; ++y)
    for (int32_t x = KNOCK_AREA.left * scale; x < (KNOCK_AREA.right + 1) * scale; ++x) backdrop.SetPixel(x, y, inside);
  return backdrop;
}

}  // namespace

TEST(DecorationLayout, OnlyTheKnockAreaDecidesTheLabelColour) {
  for (int32_t scale : {1, 2}) {
    EXPECT_EQ(LabelColour(WithKnockArea(0x00FFFFFF, 0x00202020, scale), scale), WHITE_MARKS);
    EXPECT_EQ(LabelColour(WithKnockArea(0x00000000, 0x00E0E0E0, scale), scale), BLACK_MARKS);
  }
  // Mean brightness exactly 128 is light; just below is dark.
  EXPECT_EQ(LabelColour(WithKnockArea(0, 0x00808080, 1), 1), BLACK_MARKS);
  EXPECT_EQ(LabelColour(WithKnockArea(0, 0x0080807F, 1), 1), WHITE_MARKS);
  // The plain purple: (128 + 0 + 128) / 3 is dark.
  EXPECT_EQ(LabelColour(NxBitmap(TABLE_AREA.Width(), TABLE_AREA.Height(), 0x00800080), 1), WHITE_MARKS);
}

TEST(DecorationLayout, TheRightAndBottomEdgesOfTheKnockAreaCount) {
  // A light knock area whose right column and bottom row are black: those
  // 70 + 97 - 1 of 70 x 97 pixels pull a mean of 131 below 128.
  NxBitmap backdrop = WithKnockArea(0, 0x00838383, 1);
  for (int32_t y = KNOCK_AREA.top; y <= KNOCK_AREA.bottom; ++y) backdrop.SetPixel(KNOCK_AREA.right, y, 0);
  for (int32_t x = KNOCK_AREA.left; x <= KNOCK_AREA.right; ++x) backdrop.SetPixel(x, KNOCK_AREA.bottom, 0);
  EXPECT_EQ(LabelColour(backdrop, 1), WHITE_MARKS);
  // The drawing converts only the sample area: the same edges must decide.
  const TRect area = LabelSampleArea(1);
  NxBitmap sample(area.Width(), area.Height());
  sample.Combine(sample.Bounds(), backdrop, {area.left, area.top}, NxBitmap::RasterOp::COPY);
  EXPECT_EQ(LabelColourOfSample(sample), WHITE_MARKS);
}

TEST(DecorationLayout, LabelsStandOnTheirLines) {
  const auto labels = LabelPlaces();
  const std::string texts[] = {"Final", "Discard", "(Knock)", "Stock", "Discard"};
  const int32_t xs[] = {207, 207, 207, 288, 369};
  const int32_t baselines[] = {177, 196, 216, 196, 196};
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i].Text, texts[i]);
    EXPECT_EQ(labels[i].X, xs[i]);
    EXPECT_EQ(labels[i].Baseline, baselines[i]);
  }
}

TEST(DecorationLayout, OutlinesLeaveTheirCornersOpen) {
  NxBitmap marks(TABLE_AREA.Width(), TABLE_AREA.Height(), 0);
  for (const TRect& r : OutlineStrokes())
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) marks.SetPixel(x, y, 1);
  // The knock outline: frame (174,145)-(240,238), outer lines one further out.
  EXPECT_EQ(marks.Pixel(174, 145), 1u);
  EXPECT_EQ(marks.Pixel(240, 238), 1u);
  EXPECT_EQ(marks.Pixel(241, 239), 0u);
  EXPECT_EQ(marks.Pixel(175, 144), 1u);
  EXPECT_EQ(marks.Pixel(239, 239), 1u);
  EXPECT_EQ(marks.Pixel(173, 146), 1u);
  EXPECT_EQ(marks.Pixel(241, 237), 1u);
  // The corners outside the frame stay open.
  for (auto [x, y] : {std::pair{173, 144}, {174, 144}, {173, 145}, {241, 144}, {240, 144}, {241, 238}, {173, 239}})
    EXPECT_EQ(marks.Pixel(x, y), 0u) << x << "," << y;
  // The stock and discard outlines.
  EXPECT_EQ(marks.Pixel(255, 145), 1u);
  EXPECT_EQ(marks.Pixel(321, 238), 1u);
  EXPECT_EQ(marks.Pixel(336, 145), 1u);
  EXPECT_EQ(marks.Pixel(402, 238), 1u);
  EXPECT_EQ(marks.Pixel(288, 190), 0u);
}
