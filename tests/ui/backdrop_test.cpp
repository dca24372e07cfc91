#include "ui/backdrop.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QRegion>

#include "game/table_geometry.h"

namespace {

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

QImage Filled(QRgb colour, int scale) {
  QImage image(TABLE_AREA.Width() * scale, TABLE_AREA.Height() * scale, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

}  // namespace

TEST(Backdrop, PlainIsPurpleWithWhiteMarks) {
  const QImage plain = PlainBackdrop(1);
  ASSERT_EQ(plain.size(), QSize(576, 384));
  EXPECT_EQ(plain.pixel(5, 5), 0xFF800080u);
  EXPECT_EQ(plain.pixel(500, 300), 0xFF800080u);
  EXPECT_EQ(plain.pixel(174, 145), 0xFFFFFFFFu);  // outline corner
  EXPECT_EQ(plain.pixel(173, 144), 0xFF800080u);  // open corner
  // The labels put some white inside each outline.
  EXPECT_GT(CountColour(plain, QRect(180, 160, 55, 60), 0xFFFFFFFF), 50);
  EXPECT_GT(CountColour(plain, QRect(260, 180, 55, 20), 0xFFFFFFFF), 20);
  EXPECT_GT(CountColour(plain, QRect(340, 180, 58, 20), 0xFFFFFFFF), 20);
}

TEST(Backdrop, DarkAndLightBackdropsGetWhiteAndBlackMarks) {
  QImage dark = Filled(0xFF102010, 1);
  DrawDecorations(dark, 1);
  EXPECT_EQ(dark.pixel(255, 145), 0xFFFFFFFFu);
  EXPECT_EQ(CountColour(dark, dark.rect(), 0xFF000000), 0);
  QImage light = Filled(0xFFF0F0C0, 1);
  DrawDecorations(light, 1);
  EXPECT_EQ(light.pixel(255, 145), 0xFF000000u);
  EXPECT_EQ(CountColour(light, light.rect(), 0xFFFFFFFF), 0);
}

TEST(Backdrop, LinesStayOneTablePixelWideAtScaleTwo) {
  const QImage plain = PlainBackdrop(2);
  ASSERT_EQ(plain.size(), QSize(1152, 768));
  // The knock outline's left side is table column 174, so device columns
  // 348 and 349; the outer line is column 173; 172 is backdrop. No blending.
  const int y = 190 * 2;
  EXPECT_EQ(plain.pixel(345, y), 0xFF800080u);
  EXPECT_EQ(plain.pixel(346, y), 0xFFFFFFFFu);
  EXPECT_EQ(plain.pixel(347, y), 0xFFFFFFFFu);
  EXPECT_EQ(plain.pixel(348, y), 0xFFFFFFFFu);
  EXPECT_EQ(plain.pixel(349, y), 0xFFFFFFFFu);
  EXPECT_EQ(plain.pixel(350, y), 0xFF800080u);
  // Rows that hold only outlines have no blended pixels at all.
  const QRect outlinesOnly(0, 143 * 2, plain.width(), 15 * 2);
  EXPECT_EQ(CountColour(plain, outlinesOnly, 0xFF800080) + CountColour(plain, outlinesOnly, 0xFFFFFFFF),
            outlinesOnly.width() * outlinesOnly.height());
}

// Around a table of another shape than the window, each pixel is the
// scenery's pixel mirrored at the table's edges, at every device pixel
// ratio the table view paints with, and the table itself is left alone.
TEST(Backdrop, SceneryGoesOnPastTheTableMirroredAtItsEdges) {
  QImage scenery(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < scenery.height(); ++y)
    for (int x = 0; x < scenery.width(); ++x) scenery.setPixel(x, y, qRgb(30 * x, 40 * y, 77));
  auto mirrored = [](int offset, int size) {
    const int tile = offset >= 0 ? offset / size : -((-offset - 1) / size) - 1;
    const int inside = offset - tile * size;
    return tile % 2 == 0 ? inside : size - 1 - inside;
  };
  for (qreal ratio : {1.0, 1.5, 2.5}) {
    QImage window(40, 13, QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    window.fill(0xFF000000);
    const QRect table(16, 3, 7, 5);
    QPainter painter(&window);
    painter.scale(1 / ratio, 1 / ratio);
    TurnedScenery turned{scenery};
    DrawMirroredAround(painter, QRegion(window.rect()) - table, table, turned);
    painter.end();
    for (int y = 0; y < window.height(); ++y)
      for (int x = 0; x < window.width(); ++x) {
        const QRgb expected = table.contains(x, y) ? 0xFF000000u
                                                   : scenery.pixel(mirrored(x - table.left(), table.width()),
                                                                   mirrored(y - table.top(), table.height()));
        ASSERT_EQ(window.pixel(x, y), expected) << x << "," << y << " at " << ratio;
      }
  }
}
