#include "ui/history_charts.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/text_ids.h"
#include "ui/resource_text.h"

namespace {

// The win rate chart's measures, so that the charts take turns in one place
// without the dialog changing its size.
QSize ChartSize(const QFont& font) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QLatin1Char('0')) * 70, metrics.height() * 9};
}

// Room on the left for the widest label of the values, above for the title
// and below for the legend.
QRect PlotArea(const QWidget& chart, const QString& widestLabel) {
  const QFontMetrics metrics(chart.font());
  const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
  return chart.rect().adjusted(metrics.horizontalAdvance(widestLabel) + zero, 2 * metrics.height(), -zero,
                               -metrics.height() - metrics.height() / 2);
}

void DrawTitle(QPainter& painter, const QWidget& chart) {
  painter.setPen(chart.palette().color(QPalette::Text));
  painter.drawText(QRect(0, 0, chart.width(), QFontMetrics(chart.font()).height() * 3 / 2), Qt::AlignCenter,
                   chart.accessibleName());
}

// A faint line across the chart at y, its label at the left.
void DrawGridLine(QPainter& painter, const QWidget& chart, const QRect& plot, int y, const QString& label) {
  const QColor ink = chart.palette().color(QPalette::Text);
  QColor grid = ink;
  grid.setAlphaF(0.25);
  painter.setPen(grid);
  painter.drawLine(plot.left(), y, plot.right(), y);
  painter.setPen(ink);
  const int height = QFontMetrics(chart.font()).height();
  painter.drawText(QRect(0, y - height / 2, plot.left() - 4, height), Qt::AlignRight | Qt::AlignVCenter, label);
}

QString Signed(double value) {
  const QString number = QLocale().toString(value, 'f', 1);
  return value > 0.05 ? QLocale().positiveSign() + number : number;
}

QString Percent(double share) {
  return QLocale().toString(static_cast<int>(100 * share + 0.5)) + QLocale().percent();
}

QString LevelName(size_t level) {
  QString name = ResourceText(HISTORY_LEVEL_1 + static_cast<uint32_t>(level));
  name.chop(1);  // the label's colon
  return name;
}

// Each level's line differs by its dashes as well as its colour, so that the
// lines tell apart on any palette and for any eyes.
QPen LevelPen(const QPalette& palette, size_t level) {
  constexpr QPalette::ColorRole COLOURS[5] = {QPalette::Text, QPalette::Highlight, QPalette::LinkVisited,
                                              QPalette::Link, QPalette::Text};
  constexpr Qt::PenStyle STYLES[5] = {Qt::DotLine, Qt::DashLine, Qt::DashDotLine, Qt::SolidLine, Qt::SolidLine};
  QPen pen(palette.color(COLOURS[level]), level == 4 ? 3 : 2, STYLES[level]);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace

PointsChart::PointsChart(const HistoryFigures& figures, QWidget* parent)
    : QWidget(parent), Points(figures.PointsOverTime) {
  setAccessibleName(ResourceText(HISTORY_POINTS_TITLE));
  if (!Points.empty())
    setAccessibleDescription(ResourceText(HISTORY_POINTS_AVERAGE) + Signed(figures.PointsPerHand) +
                             ResourceText(HISTORY_POINTS_RECENT) + Signed(figures.RecentPointsPerHand));
  // A round reach, in tens, that the largest hand just fits in.
  int32_t largest = 0;
  for (int32_t points : Points) largest = std::max(largest, std::abs(points));
  Reach = std::max(10, (largest + 9) / 10 * 10);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

QSize PointsChart::sizeHint() const { return ChartSize(font()); }

void PointsChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString top = QLocale().positiveSign() + QLocale().toString(Reach);
  const QRect plot = PlotArea(*this, top);
  DrawTitle(painter, *this);
  const int zeroY = plot.top() + plot.height() / 2;
  DrawGridLine(painter, *this, plot, plot.top(), top);
  DrawGridLine(painter, *this, plot, plot.bottom(), QLocale().negativeSign() + QLocale().toString(Reach));
  if (Points.empty()) return;
  // One column per device pixel at most: bars on whole device pixels stay
  // sharp at any scale.
  const qreal ratio = devicePixelRatioF();
  const auto columns = static_cast<size_t>(std::max(1.0, std::floor(plot.width() * ratio)));
  const std::vector<ValueSpan<int32_t>> spans = SpansOf(Points, columns);
  const qreal scale = plot.height() / 2.0 / Reach;
  auto deviceX = [&](size_t i) { return std::floor(static_cast<double>(i * columns / spans.size())) / ratio; };
  // Narrow gaps between bars while each has room for them.
  const qreal gap = columns >= 4 * spans.size() ? 1 / ratio : 0;
  const QColor mine = palette().color(QPalette::Link);
  const QColor theirs = palette().color(QPalette::Highlight);
  for (size_t i = 0; i < spans.size(); ++i) {
    const qreal left = plot.left() + deviceX(i);
    const qreal width = std::max(1 / ratio, deviceX(i + 1) - deviceX(i) - gap);
    if (spans[i].High > 0)
      painter.fillRect(QRectF(left, zeroY - std::round(spans[i].High * scale * ratio) / ratio, width,
                              std::round(spans[i].High * scale * ratio) / ratio),
                       mine);
    if (spans[i].Low < 0)
      painter.fillRect(QRectF(left, zeroY, width, std::round(-spans[i].Low * scale * ratio) / ratio), theirs);
  }
  painter.setPen(palette().color(QPalette::Text));
  painter.drawLine(plot.left(), zeroY, plot.right(), zeroY);
  painter.drawText(QRect(0, zeroY - fontMetrics().height() / 2, plot.left() - 4, fontMetrics().height()),
                   Qt::AlignRight | Qt::AlignVCenter, QLocale().toString(0));
}

LevelShareChart::LevelShareChart(const HistoryFigures& figures, QWidget* parent)
    : QWidget(parent), Shares(figures.ComputerShareByLevel) {
  setAccessibleName(ResourceText(HISTORY_SHARE_TITLE));
  QStringList levels;
  for (size_t level = 0; level < Shares.size(); ++level) {
    if (Shares[level].empty()) continue;
    MostBlocks = std::max(MostBlocks, Shares[level].size());
    levels << ResourceText(HISTORY_LEVEL_1 + static_cast<uint32_t>(level)) + QLatin1Char(' ') +
                  Percent(Shares[level].front()) + ResourceText(HISTORY_SHARE_FIRST) + Percent(Shares[level].back()) +
                  ResourceText(HISTORY_SHARE_LATELY);
  }
  setAccessibleDescription(levels.isEmpty() ? ResourceText(HISTORY_SHARE_NONE)
                                            : levels.join(ResourceText(HISTORY_SHARE_APART)));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

QSize LevelShareChart::sizeHint() const { return ChartSize(font()); }

void LevelShareChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect plot = PlotArea(*this, Percent(1.0));
  DrawTitle(painter, *this);
  for (double share : {0.0, 0.5, 1.0})
    DrawGridLine(painter, *this, plot, plot.bottom() - static_cast<int>(share * plot.height()), Percent(share));
  if (MostBlocks == 0) {
    painter.drawText(plot, Qt::AlignCenter, accessibleDescription());
    return;
  }
  // No more points than one every few pixels: a dashed line through more
  // is slow to draw and shows nothing more.
  const size_t most = static_cast<size_t>(std::max(2, plot.width() / 4));
  const size_t together = (MostBlocks + most - 1) / most;
  const size_t drawn = (MostBlocks + together - 1) / together;
  // A lone block sits in the middle; more spread over the width.
  const double step = drawn > 1 ? static_cast<double>(plot.width()) / static_cast<double>(drawn - 1) : 0;
  const double start = drawn > 1 ? plot.left() : plot.center().x();
  const bool marked = drawn == 1 || step >= 8;
  const QFontMetrics metrics(font());
  int legendX = plot.left();
  const int legendY = plot.bottom() + metrics.ascent() + 2;
  for (size_t level = 0; level < Shares.size(); ++level) {
    if (Shares[level].empty()) continue;
    // Every level in blocks of the same length, so that their points line up.
    const std::vector<double> shares = MergedShares(Shares[level], together);
    const QPen pen = LevelPen(palette(), level);
    auto at = [&](size_t i) {
      return QPointF(start + step * static_cast<double>(i), plot.bottom() - shares[i] * plot.height());
    };
    QPainterPath line(at(0));
    for (size_t i = 1; i < shares.size(); ++i) line.lineTo(at(i));
    painter.setPen(pen);
    painter.drawPath(line);
    if (marked || shares.size() == 1) {
      painter.setPen(QPen(pen.color(), 1));
      painter.setBrush(pen.color());
      for (size_t i = 0; i < shares.size(); ++i) painter.drawEllipse(at(i), 2.5, 2.5);
      painter.setBrush(Qt::NoBrush);
    }
    // The legend: a stretch of the level's line, then its name.
    const int sample = 3 * metrics.horizontalAdvance(QLatin1Char('0'));
    painter.setPen(pen);
    painter.drawLine(QPointF(legendX, legendY - metrics.ascent() / 2.0 + 1),
                     QPointF(legendX + sample, legendY - metrics.ascent() / 2.0 + 1));
    legendX += sample + metrics.horizontalAdvance(QLatin1Char(' '));
    painter.setPen(palette().color(QPalette::Text));
    const QString name = LevelName(level);
    painter.drawText(QPoint(legendX, legendY), name);
    legendX += metrics.horizontalAdvance(name) + 2 * metrics.horizontalAdvance(QLatin1Char('0'));
  }
}
