#include "ui/backdrop.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

#include "ui/decoration_layout.h"
#include "ui/image_convert.h"
#include "table/device_pixels.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"
#include "ui/resource_text.h"

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
  return QFontMetrics(font).horizontalAdvance(ResourceText(TABLE_LABEL_DISCARD));
}

QFont LabelFont(double scale) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(std::max(1, qRound(LabelPixelHeight(LabelPointSize(DefaultFontDiscardWidth())) * scale)));
  // A label in another language can be longer than the area it names: the
  // font then shrinks until the longest fits inside the outline.
  const double room = (KNOCK_AREA.Width() - 6) * scale;
  int widest = 0;
  for (const LabelPlace& label : LabelPlaces())
    widest = std::max(widest, QFontMetrics(font).horizontalAdvance(QString::fromUtf8(label.Text)));
  if (widest > room) font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * room / widest)));
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
    const QString text = QString::fromUtf8(label.Text);
    const int width = metrics.horizontalAdvance(text);
    painter.drawText(QPoint(qRound(label.X * scale) - width / 2, qRound(label.Baseline * scale)), text);
  }
}

QImage SceneryAt(const QImage& tablePicture, double scale) {
  QImage image = tablePicture.convertToFormat(QImage::Format_RGB32);
  if (image.size() != TableSizeAt(scale))
    image = image.scaled(TableSizeAt(scale), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
  return image;
}

QImage DecoratedBackdrop(const QImage& tablePicture, double scale) {
  QImage image = SceneryAt(tablePicture, scale);
  DrawDecorations(image, scale);
  return image;
}

void DrawMirroredAround(QPainter& painter, const QRegion& around, const QRect& table, TurnedScenery& turned) {
  if (around.isEmpty() || table.isEmpty() || turned[0].size() != table.size()) return;
  const int w = table.width(), h = table.height();
  // The tiles touched, counted from the table's own (0, 0), which is not drawn.
  auto tile = [](int offset, int size) { return static_cast<int>(std::floor(static_cast<double>(offset) / size)); };
  const QRect bounds = around.boundingRect();
  for (int row = tile(bounds.top() - table.top(), h); row <= tile(bounds.bottom() - table.top(), h); ++row) {
    for (int column = tile(bounds.left() - table.left(), w); column <= tile(bounds.right() - table.left(), w);
         ++column) {
      const QRect place(table.left() + column * w, table.top() + row * h, w, h);
      const QRegion part = around.intersected(place);
      if ((row == 0 && column == 0) || part.isEmpty()) continue;
      // An odd tile is the picture turned over: each edge meets its own
      // mirror image, pixel for pixel. Copied, not transformed while
      // painting, which would cost a full repaint several times as much.
      const bool across = column % 2 != 0, down = row % 2 != 0;
      QImage& image = turned[(across ? 1 : 0) + (down ? 2 : 0)];
      if (image.isNull()) image = turned[0].mirrored(across, down);
      for (const QRect& r : part) painter.drawImage(r.topLeft(), image, r.translated(-place.topLeft()));
    }
  }
}

QImage StretchToTable(const QImage& picture) {
  return picture.scaled(TABLE_AREA.Width(), TABLE_AREA.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}
