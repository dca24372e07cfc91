#include "ui/win_rate_chart.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "game/text_ids.h"
#include "ui/resource_text.h"

namespace {

QString Percent(double share) {
  return QLocale().toString(static_cast<int>(100 * share + 0.5)) + QLocale().percent();
}

}  // namespace

WinRateChart::WinRateChart(std::vector<HistoryFigures::RatePoint> points, QWidget* parent)
    : QWidget(parent), Points(std::move(points)) {
  setAccessibleName(ResourceText(HISTORY_WIN_RATE_TITLE));
  if (!Points.empty())
    setAccessibleDescription(ResourceText(HISTORY_WIN_RATE_NOW) + Percent(Points.back().Rate) +
                             ResourceText(HISTORY_WIN_RATE_FIRST) + Percent(Points.front().Rate));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

QSize WinRateChart::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(QLatin1Char('0')) * 70, metrics.height() * 9};
}

// Room on the left for the percentages, above for the title and below for
// the levels' names.
QRect WinRateChart::PlotArea() const {
  const QFontMetrics metrics(font());
  const int left = metrics.horizontalAdvance(Percent(1.0)) + metrics.horizontalAdvance(QLatin1Char('0'));
  return rect().adjusted(left, 2 * metrics.height(), -metrics.horizontalAdvance(QLatin1Char('0')),
                         -metrics.height() - metrics.height() / 2);
}

void WinRateChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics metrics(font());
  const QColor ink = palette().color(QPalette::Text);
  const QRect plot = PlotArea();
  painter.setPen(ink);
  painter.drawText(QRect(0, 0, width(), metrics.height() * 3 / 2), Qt::AlignCenter, accessibleName());
  QColor grid = ink;
  grid.setAlphaF(0.25);
  for (double share : {0.0, 0.5, 1.0}) {
    const int y = plot.bottom() - static_cast<int>(share * plot.height());
    painter.setPen(grid);
    painter.drawLine(plot.left(), y, plot.right(), y);
    painter.setPen(ink);
    painter.drawText(QRect(0, y - metrics.height() / 2, plot.left() - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, Percent(share));
  }
  if (Points.empty()) return;
  const double step = Points.size() > 1 ? static_cast<double>(plot.width()) / (Points.size() - 1) : 0;
  auto at = [&](size_t i) {
    return QPointF(plot.left() + step * static_cast<double>(i), plot.bottom() - Points[i].Rate * plot.height());
  };
  // A dashed line and the new level's name where the level changes; of
  // levels changed every few hands, only the lines a few pixels apart and
  // the names with room to be read.
  QPen levelPen(palette().color(QPalette::Highlight), 1, Qt::DashLine);
  int lastLine = std::numeric_limits<int>::min() / 2, lastName = lastLine;
  for (size_t i = 0; i < Points.size(); ++i) {
    if (i > 0 && Points[i].Level == Points[i - 1].Level) continue;
    const int x = static_cast<int>(at(i).x());
    if (x - lastLine < 3) continue;
    lastLine = x;
    painter.setPen(levelPen);
    painter.drawLine(x, plot.top(), x, plot.bottom());
    if (x <= lastName) continue;
    painter.setPen(ink);
    QString level = ResourceText(HISTORY_LEVEL_1 + std::min<uint32_t>(Points[i].Level, 4));
    level.chop(1);  // the label's colon
    painter.drawText(QPoint(x + 2, plot.bottom() + metrics.ascent() + 2), level);
    lastName = x + 2 + metrics.horizontalAdvance(level) + metrics.horizontalAdvance(QLatin1Char(' '));
  }
  const QColor lineColour = palette().color(QPalette::Link);
  // A long history has many hands to a device pixel: each device column is
  // filled from the lowest to the highest rate in it, as thick as the line,
  // which looks like every hand's point and costs a fraction of stroking
  // them.
  const qreal ratio = devicePixelRatioF();
  const auto columns = static_cast<size_t>(std::max(1.0, std::floor(plot.width() * ratio)));
  if (Points.size() > 2 * columns) {
    std::vector<double> rates(Points.size());
    for (size_t i = 0; i < Points.size(); ++i) rates[i] = Points[i].Rate;
    const std::vector<ValueSpan<double>> spans = SpansOf(rates, columns);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (size_t c = 0; c < spans.size(); ++c) {
      const qreal high = std::round((plot.bottom() - spans[c].High * plot.height()) * ratio) / ratio;
      const qreal low = std::round((plot.bottom() - spans[c].Low * plot.height()) * ratio) / ratio;
      painter.fillRect(QRectF(plot.left() + static_cast<qreal>(c) / ratio, high - 1, 1 / ratio, low - high + 2),
                       lineColour);
    }
    return;
  }
  QPainterPath line(at(0));
  for (size_t i = 1; i < Points.size(); ++i) line.lineTo(at(i));
  painter.setPen(QPen(lineColour, 2));
  painter.drawPath(line);
}
