#pragma once

#include <QGroupBox>

#include "store/history_figures.h"

class QGridLayout;

// The figures from the history of play, under the statistics: the person's
// hands, knocks, gins and undercuts, points per hand, the longest run of
// hands won, and the games won by level and by variation. Plain labels in
// a layout, so that they take the width their texts need and a screen
// reader reads them as they stand.
class HistoryFiguresView : public QGroupBox {
  Q_OBJECT

 public:
  explicit HistoryFiguresView(const HistoryFigures& figures, QWidget* parent = nullptr);

 private:
  void AddRow(uint32_t labelId, const QString& value);
  void AddHeading(uint32_t textId);

  QGridLayout* Grid;
  int Rows = 0;
};
