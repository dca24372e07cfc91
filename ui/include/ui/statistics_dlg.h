#pragma once

#include <QDialog>

#include "store/history_figures.h"
#include "store/statistics.h"

class QCheckBox;
class QPushButton;
class QTabWidget;
class StatisticsView;

// The "Statistics" dialog: shows the statistics of every variation, with
// the figures from the history of play beside them, and resets the
// statistics when it is closed with OK and "Reset Statistics" checked (the
// history stays as it is). OK and Cancel show only while the box is
// checked; otherwise a Close button stands in their place.
// Cancel, Close and Escape change nothing. The reset is in memory; the statistics reach the
// settings file at the next save.
class StatisticsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsDlg(Statistics& stats, const HistoryFigures& figures = {}, QWidget* parent = nullptr);

  StatisticsView& View() { return *Table; }
  QCheckBox& ResetBox() { return *Reset; }
  QPushButton& CloseButton() { return *Close; }
  QPushButton& OkButton() { return *Ok; }
  QPushButton& CancelButton() { return *Cancel; }
  QPushButton& HelpButton() { return *Help; }
  // The charts from the history, none before a hand was won or lost.
  QTabWidget* ChartTabs() { return Charts; }

  void accept() override;

 signals:
  void HelpRequested();

 private:
  void ShowButtons(bool resetting);

  Statistics& Stats;
  StatisticsView* Table;
  QCheckBox* Reset;
  QPushButton* Close;
  QPushButton* Ok;
  QPushButton* Cancel;
  QPushButton* Help;
  QTabWidget* Charts = nullptr;
};
