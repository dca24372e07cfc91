#pragma once

#include <QDockWidget>

#include "game/layoffs.h"
#include "store/score_sheet.h"

class LaidOffCaptionWindow;
class ScoreClient;

// The "Score Sheet" panel: the column labels, the framed scrolling sheet,
// the game's target, totals and lead, and the laid-off caption window. The
// frame docks it beside the table, and the person may float it; a table
// without a frame shows it floating, as a window of its own. The table
// owns it and shows and closes it as the flow asks; the sheet it draws
// belongs to the table as well.
class ScoreSheetWindow : public QDockWidget {
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
  // The target, the totals and the lead, one per line.
  QString SummaryText() const;

 signals:
  // The person closed the window from its title bar.
  void ClosedByUser();
  // The panel is about to be shown or hidden: docked, it takes or gives
  // back room beside the table.
  void RoomAboutToChange();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowSummary();

  ScoreSheet& Sheet;
  ScoreClient* TheClient;
  LaidOffCaptionWindow* TheCaption;
  class QLabel* Labels[2];
  class QLabel* Summary[3];
};
