#include "ui/card_mask.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CardMask, AStraightCutInEachCornerAtTheDeviceResolution) {
  for (double scale : {1.0, 1.5, 2.0, 2.5, 3.0}) {
    const NxBitmap mask = CardMask(scale);
    ASSERT_EQ(mask.Width(), static_cast<int32_t>(std::lround(69 * scale)));
    ASSERT_EQ(mask.Height(), static_cast<int32_t>(std::lround(96 * scale)));
    const int32_t w = mask.Width() - 1, h = mask.Height() - 1;
    // The same cut in all four corners, reaching two table pixels along
    // each edge; without steps: each row of the cut one pixel shorter.
    int white = 0;
    for (int32_t y = 0; y < mask.Height(); ++y)
      for (int32_t x = 0; x < mask.Width(); ++x) white += mask.Pixel(x, y) == 0x00FFFFFFu;
    const int reach = static_cast<int>(std::ceil(2 * scale - 1e-9));
    EXPECT_EQ(white, 4 * reach * (reach + 1) / 2) << scale;
    for (int32_t d = 0; d < reach; ++d)
      for (auto [x, y] : {std::pair{d, 0}, {w - d, 0}, {0, h - d}, {w, h - d}})
        EXPECT_EQ(mask.Pixel(x, y), 0x00FFFFFFu) << scale << ": " << x << "," << y;
    EXPECT_EQ(mask.Pixel(reach, 0), 0u) << scale;
    EXPECT_EQ(mask.Pixel(reach / 2 + 1, reach / 2 + 1), 0u) << scale;
  }
  // At the table's own size: the corner pixel and its two neighbours.
  const NxBitmap small = CardMask(1.0);
  EXPECT_EQ(small.Pixel(1, 0), 0x00FFFFFFu);
  EXPECT_EQ(small.Pixel(0, 1), 0x00FFFFFFu);
  EXPECT_EQ(small.Pixel(1, 1), 0u);
}

TEST(CardMask, PicturesTurnBlackUnderTheWhitePixels) {
  NxBitmap picture(69, 96, 0x00ABCDEF);
  ApplyCardMask(picture, CardMask(1));
  EXPECT_EQ(picture.Pixel(0, 0), 0u);
  EXPECT_EQ(picture.Pixel(68, 94), 0u);
  EXPECT_EQ(picture.Pixel(2, 0), 0x00ABCDEFu);
}
