#pragma once

#include <QFrame>
#include <QString>
#include <vector>

#include "store/statistics.h"

// The owner-drawn table of the Statistics dialog: a header, then for each
// variation its caption and its total points, games won and best score for
// both players, inside a sunken frame.
class StatisticsView : public QFrame {
 public:
  explicit StatisticsView(const Statistics& stats, QWidget* parent = nullptr);

  // One text as the table draws it, in pixels of the drawing area.
  struct Item {
    QString Text;
    int X;      // left end, or right end when RightAligned
    int Y;      // top
    bool RightAligned;
  };
  std::vector<Item> Items() const;
  // The rule under the header: y, from x, to x.
  QLine HeaderRule() const;
  QSize Unit() const { return UnitSize; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Top of the caption of variation block v.
  int BlockTop(uint32_t variation) const;

  const Statistics& Stats;
  QSize UnitSize;
};
