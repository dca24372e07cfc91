#include "ui/svg_card_images.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <set>


namespace {

bool CornersBlack(const NxBitmap& picture, int scale) {
  const int w = picture.Width() - 1;
  const int h = picture.Height() - 1;
  for (auto [x, y] : {std::pair{0, 0}, {scale, 0}, {0, scale}, {w, 0}, {w - scale, 0}, {w, h}, {0, h}, {0, h - scale}})
    if (picture.Pixel(x, y) != 0) return false;
  return true;
}

size_t DistinctColours(const NxBitmap& picture) {
  std::set<uint32_t> colours;
  for (int y = 0; y < picture.Height(); y += 2)
    for (int x = 0; x < picture.Width(); x += 2) colours.insert(picture.Pixel(x, y));
  return colours.size();
}

// Checks every provided picture at one scale: sizes, black corners, faces
// with ink, backs all different.
void CheckPictures(SvgCardImages& images, int scale) {
  EXPECT_EQ(images.Scale(), scale);
  const NxBitmap mask = images.LoadImage(CARD_MASK_ID);
  ASSERT_EQ(mask.Width(), 69 * scale);
  ASSERT_EQ(mask.Height(), 96 * scale);
  EXPECT_EQ(mask.Pixel(0, 0), 0x00FFFFFFu);
  for (uint32_t card : {0u, 12u, 13u, 26u, 38u, 51u}) {
    const NxBitmap face = images.LoadImage(CARD_FACE_BASE_ID + card);
    ASSERT_EQ(face.Width(), 69 * scale) << card;
    ASSERT_EQ(face.Height(), 96 * scale) << card;
    EXPECT_TRUE(CornersBlack(face, scale)) << card;
    EXPECT_EQ(face.Pixel(3 * scale, 0) , face.Pixel(3 * scale, 0) & 0x00FFFFFF);
    EXPECT_GT(DistinctColours(face), 3u) << card;
  }
  std::set<std::vector<uint32_t>> backs;
  for (uint32_t id = FIRST_CARD_BACK_ID; id <= LAST_CARD_BACK_ID; ++id) {
    const NxBitmap back = images.LoadImage(id);
    ASSERT_EQ(back.Width(), 69 * scale) << id;
    EXPECT_TRUE(CornersBlack(back, scale)) << id;
    backs.insert(std::vector<uint32_t>(back.Data(), back.Data() + back.Width() * back.Height()));
  }
  EXPECT_EQ(backs.size(), 10u);
  EXPECT_TRUE(images.LoadImage(24454).IsEmpty());
  EXPECT_TRUE(images.LoadImage(CARD_FACE_BASE_ID + 52).IsEmpty());
}

}  // namespace

TEST(SvgCardImages, ElementIdsFollowTheCardIds) {
  EXPECT_EQ(CardElementId(0), "1_heart");
  EXPECT_EQ(CardElementId(9), "10_heart");
  EXPECT_EQ(CardElementId(23), "jack_diamond");
  EXPECT_EQ(CardElementId(37), "queen_spade");
  EXPECT_EQ(CardElementId(51), "king_club");
}

TEST(SvgCardImages, InstalledDecksGiveEveryPictureAtScalesOneAndTwo) {
  SvgCardImages probe;
  if (!probe.MissingDecksMessage().isEmpty()) GTEST_SKIP() << "card decks not installed";
  for (int scale : {1, 2}) {
    SvgCardImages images(scale);
    CheckPictures(images, scale);
  }
  // The ace of hearts is red somewhere, the ace of spades is not.
  SvgCardImages images(1);
  auto hasRed = [](const NxBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const uint32_t p = b.Pixel(x, y);
        if (((p >> 16) & 0xFF) > 160 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80) return true;
      }
    return false;
  };
  EXPECT_TRUE(hasRed(images.LoadImage(CARD_FACE_BASE_ID + 0)));
  EXPECT_FALSE(hasRed(images.LoadImage(CARD_FACE_BASE_ID + 26)));
}

TEST(SvgCardImages, WithoutDecksPlainCardsAndOneMessage) {
  QTemporaryDir empty;
  for (int scale : {1, 2}) {
    SvgCardImages images(scale, {empty.path()});
    EXPECT_TRUE(images.MissingDecksMessage().contains(QStringLiteral("kdegames-card-data-kf5")));
    CheckPictures(images, scale);
  }
  SvgCardImages images(1, {empty.path()});
  // Two different faces differ.
  const NxBitmap a = images.LoadImage(CARD_FACE_BASE_ID + 0);
  const NxBitmap b = images.LoadImage(CARD_FACE_BASE_ID + 50);
  EXPECT_NE(std::vector<uint32_t>(a.Data(), a.Data() + 69 * 96), std::vector<uint32_t>(b.Data(), b.Data() + 69 * 96));
}
