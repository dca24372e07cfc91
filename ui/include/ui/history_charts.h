#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "store/history_figures.h"

// The charts beside the win rate, in its style: drawn with the widget's
// own palette and fonts, so they are sharp at every scale, with an
// accessible description that says in words what they show.

// Each hand's points for the person less the computer's, as bars above and
// below a zero line, oldest at the left. With more hands than the chart is
// wide, a column shows the range of the hands that fall in it.
class PointsChart : public QWidget {
  Q_OBJECT

 public:
  explicit PointsChart(const HistoryFigures& figures, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int32_t> Points;
  int32_t Reach = 10;  // the points at the top and the bottom of the chart
};

// The computer's share of the hands won or lost at each level, block by
// block of hands played there, one line per level with a legend, so that
// the learning of its networks shows as a trend.
class LevelShareChart : public QWidget {
  Q_OBJECT

 public:
  explicit LevelShareChart(const HistoryFigures& figures, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<std::vector<double>, 5> Shares;
  size_t MostBlocks = 0;
};
