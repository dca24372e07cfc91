#pragma once

#include <QWidget>

#include "game/layoffs.h"
#include "store/score_sheet.h"

class LaidOffCaptionWindow;
class ScoreClient;

// The modeless "Score Sheet" tool window: the column labels, the framed
// scrolling sheet and the laid-off caption window. The table owns it and
// shows and closes it as the flow asks; the sheet it draws belongs to the
// table as well.
class ScoreSheetWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ScoreSheetWindow(ScoreSheet& sheet, QWidget* parent = nullptr);

  // Shows the window (or raises it) and redraws it. Showing a finished
  // game draws its end, which counts it in the statistics once.
  void Show();
  // Takes up rows the flow recorded and redraws.
  void Refresh();
  // Hides the window; it keeps its contents.
  void Close();
  bool IsShown() const { return isVisible(); }

  void SetLaidOff(uint32_t pile, const uint32_t* cards, uint32_t count);
  void SetLaidOff(const LaidOffList& list) { SetLaidOff(list.Player, list.Cards.data(), list.Count); }
  void ClearLaidOff();

  ScoreClient& Client() { return *TheClient; }
  LaidOffCaptionWindow& Caption() { return *TheCaption; }
  // The texts of the two column labels.
  QString HumanLabel() const;
  QString ComputerLabel() const;

 signals:
  // The person closed the window from its title bar.
  void ClosedByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ScoreSheet& Sheet;
  ScoreClient* TheClient;
  LaidOffCaptionWindow* TheCaption;
  class QLabel* Labels[2];
};
