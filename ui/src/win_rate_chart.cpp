#include "ui/win_rate_chart.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

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
  // A dashed line and the new level's name where the level changes.
  QPen levelPen(palette().color(QPalette::Highlight), 1, Qt::DashLine);
  for (size_t i = 0; i < Points.size(); ++i) {
    if (i > 0 && Points[i].Level == Points[i - 1].Level) continue;
    const int x = static_cast<int>(at(i).x());
    painter.setPen(levelPen);
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.setPen(ink);
    QString level = ResourceText(HISTORY_LEVEL_1 + std::min<uint32_t>(Points[i].Level, 4));
    level.chop(1);  // the label's colon
    painter.drawText(QPoint(x + 2, plot.bottom() + metrics.ascent() + 2), level);
  }
  QPainterPath line(at(0));
  for (size_t i = 1; i < Points.size(); ++i) line.lineTo(at(i));
  painter.setPen(QPen(palette().color(QPalette::Link), 2));
  painter.drawPath(line);
}
