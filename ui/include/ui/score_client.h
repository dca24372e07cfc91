#pragma once

#include <QAbstractScrollArea>

#include "store/score_sheet.h"

// The scrolling area of the score sheet window: draws the lines the sheet
// lays out, one text line per scroll unit, and keeps the sheet's scroll
// position in step with its scroll bar.
class ScoreClient : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ScoreClient(ScoreSheet& sheet, QWidget* parent = nullptr);

  // Takes up the sheet's scroll range and position and redraws.
  void Refresh();
  // The width and height of "0" in the sheet's font.
  QSize Unit() const { return UnitSize; }
  // The size the window worked out for the sheet, and how far right its
  // drawing moves so that no text is cut at the left.
  void SetFit(QSize size, int leftInset);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  ScoreSheet& Sheet;
  QSize UnitSize;
  QSize Fitted;
  int LeftInset = 0;
  bool Updating = false;
};
