#include "ui/sheet_font.h"

#include <QFontMetrics>

QFont SheetFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(10);
  font.setWeight(QFont::Normal);
  // Any sans-serif face stands in where Arial and its metric twins are
  // missing.
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QSize SheetUnit(const QFont& font) {
  QFontMetrics metrics(font);
  return QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
}
