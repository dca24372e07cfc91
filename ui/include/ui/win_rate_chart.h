#pragma once

#include <QWidget>
#include <vector>

#include "store/history_figures.h"

// The person's win rate over time: the share of the last hands won, after
// each hand won or lost, from 0 to 100%, with a line where the level
// changes. Drawn with the widget's own palette and fonts, so it is sharp
// at every scale; its accessible description says the rate now and at the
// start.
class WinRateChart : public QWidget {
  Q_OBJECT

 public:
  explicit WinRateChart(std::vector<HistoryFigures::RatePoint> points, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect PlotArea() const;

  std::vector<HistoryFigures::RatePoint> Points;
};
