#include "ui/card_mask.h"

#include <gtest/gtest.h>

TEST(CardMask, ThreeWhitePixelsInEachCornerAsBlocksOfTheScale) {
  for (int32_t scale : {1, 2, 3}) {
    const NxBitmap mask = CardMask(scale);
    ASSERT_EQ(mask.Width(), 69 * scale);
    ASSERT_EQ(mask.Height(), 96 * scale);
    int white = 0;
    for (int32_t y = 0; y < mask.Height(); ++y)
      for (int32_t x = 0; x < mask.Width(); ++x) white += mask.Pixel(x, y) == 0x00FFFFFFu;
    EXPECT_EQ(white, 12 * scale * scale);
    auto at = [&](int32_t x, int32_t y) { return mask.Pixel(x * scale + scale - 1, y * scale); };
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {68, 0}, {67, 0}, {68, 1}, {0, 95}, {1, 95}, {0, 94},
                        {68, 95}, {67, 95}, {68, 94}})
      EXPECT_EQ(at(x, y), 0x00FFFFFFu) << scale << ": " << x << "," << y;
    EXPECT_EQ(at(1, 1), 0u);
    EXPECT_EQ(at(2, 0), 0u);
    EXPECT_EQ(at(66, 95), 0u);
  }
}

TEST(CardMask, PicturesTurnBlackUnderTheWhitePixels) {
  NxBitmap picture(69, 96, 0x00ABCDEF);
  ApplyCardMask(picture, CardMask(1));
  EXPECT_EQ(picture.Pixel(0, 0), 0u);
  EXPECT_EQ(picture.Pixel(68, 94), 0u);
  EXPECT_EQ(picture.Pixel(2, 0), 0x00ABCDEFu);
}
