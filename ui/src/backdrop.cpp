#include "ui/backdrop.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "ui/decoration_layout.h"
#include "ui/image_convert.h"
#include "table/device_pixels.h"
#include "game/table_geometry.h"

namespace {

QSize TableSizeAt(double scale) {
  const TRect cover = DeviceCover(TABLE_AREA, scale);
  return {cover.Width(), cover.Height()};
}

QImage BlankTable(double scale) {
  QImage image(TableSizeAt(scale), QImage::Format_RGB32);
  image.fill(PLAIN_BACKDROP_COLOUR);
  return image;
}

// The label size rule measures "Discard" in the default font as a 96 dpi
// screen would show it, so that the table looks the same on every screen.
int32_t DefaultFontDiscardWidth() {
  QFont font = QGuiApplication::font();
  const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
  font.setPixelSize(qRound(points * 96.0 / 72.0));
  return QFontMetrics(font).horizontalAdvance(QStringLiteral("Discard"));
}

QFont LabelFont(double scale) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(std::max(1, qRound(LabelPixelHeight(LabelPointSize(DefaultFontDiscardWidth())) * scale)));
  return font;
}

}  // namespace

QImage PlainBackdrop(double scale) {
  QImage image = BlankTable(scale);
  DrawDecorations(image, scale);
  return image;
}

void DrawDecorations(QImage& backdrop, double scale) {
  const TRect sample = LabelSampleArea(scale).Intersection({0, 0, backdrop.width(), backdrop.height()});
  const QColor colour = QColor::fromRgb(
      sample.IsEmpty() ? WHITE_MARKS
                       : LabelColourOfSample(ToNxBitmap(
                             backdrop.copy(sample.left, sample.top, sample.Width(), sample.Height()))));
  QPainter painter(&backdrop);
  // Every stroke is a whole number of table pixels filled as whole device
  // pixels, so the lines stay one table pixel wide and sharp at any scale.
  for (const TRect& r : OutlineStrokes()) {
    const TRect d{ToDevice(r.left, scale), ToDevice(r.top, scale), ToDevice(r.right, scale), ToDevice(r.bottom, scale)};
    painter.fillRect(QRect(d.left, d.top, std::max(1, d.Width()), std::max(1, d.Height())), colour);
  }
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setPen(colour);
  const QFont font = LabelFont(scale);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  for (const LabelPlace& label : LabelPlaces()) {
    const QString text = QString::fromLatin1(label.Text);
    const int width = metrics.horizontalAdvance(text);
    painter.drawText(QPoint(qRound(label.X * scale) - width / 2, qRound(label.Baseline * scale)), text);
  }
}

QImage DecoratedBackdrop(const QImage& tablePicture, double scale) {
  QImage image = tablePicture.convertToFormat(QImage::Format_RGB32);
  if (image.size() != TableSizeAt(scale))
    image = image.scaled(TableSizeAt(scale), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
  DrawDecorations(image, scale);
  return image;
}

QImage StretchToTable(const QImage& picture) {
  return picture.scaled(TABLE_AREA.Width(), TABLE_AREA.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

QRgb EdgeColour(const QImage& picture) {
  if (picture.isNull()) return PLAIN_BACKDROP_COLOUR;
  uint64_t red = 0, green = 0, blue = 0, count = 0;
  auto add = [&](int x, int y) {
    const QRgb p = picture.pixel(x, y);
    red += qRed(p);
    green += qGreen(p);
    blue += qBlue(p);
    ++count;
  };
  for (int x = 0; x < picture.width(); ++x) {
    add(x, 0);
    add(x, picture.height() - 1);
  }
  for (int y = 1; y + 1 < picture.height(); ++y) {
    add(0, y);
    add(picture.width() - 1, y);
  }
  return qRgb(static_cast<int>(red / count), static_cast<int>(green / count), static_cast<int>(blue / count));
}
