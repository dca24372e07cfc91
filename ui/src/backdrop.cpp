#include "ui/backdrop.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "ui/decoration_layout.h"
#include "ui/image_convert.h"
#include "game/table_geometry.h"

namespace {

QImage BlankTable(int32_t scale) {
  QImage image(TABLE_AREA.Width() * scale, TABLE_AREA.Height() * scale, QImage::Format_RGB32);
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

QFont LabelFont(int32_t scale) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(LabelPixelHeight(LabelPointSize(DefaultFontDiscardWidth())) * scale);
  return font;
}

}  // namespace

QImage PlainBackdrop(int32_t scale) {
  QImage image = BlankTable(scale);
  DrawDecorations(image, scale);
  return image;
}

void DrawDecorations(QImage& backdrop, int32_t scale) {
  const QColor colour = QColor::fromRgb(LabelColour(ToNxBitmap(backdrop), scale));
  QPainter painter(&backdrop);
  // Every stroke is a whole number of table pixels, filled as s x s blocks,
  // so the lines stay one table pixel wide and sharp at any scale.
  for (const TRect& r : OutlineStrokes())
    painter.fillRect(QRect(r.left * scale, r.top * scale, r.Width() * scale, r.Height() * scale), colour);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setPen(colour);
  const QFont font = LabelFont(scale);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  for (const LabelPlace& label : LabelPlaces()) {
    const QString text = QString::fromLatin1(label.Text);
    const int width = metrics.horizontalAdvance(text);
    painter.drawText(QPoint(label.X * scale - width / 2, label.Baseline * scale), text);
  }
}

QImage DecoratedBackdrop(const QImage& tablePicture, int32_t scale) {
  QImage image = tablePicture.convertToFormat(QImage::Format_RGB32);
  if (image.width() != TABLE_AREA.Width() * scale || image.height() != TABLE_AREA.Height() * scale)
    image = image.scaled(TABLE_AREA.Width() * scale, TABLE_AREA.Height() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
  DrawDecorations(image, scale);
  return image;
}

QImage StretchToTable(const QImage& picture) {
  return picture.scaled(TABLE_AREA.Width(), TABLE_AREA.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}
