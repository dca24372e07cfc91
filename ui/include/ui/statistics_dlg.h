#pragma once

#include <QDialog>

#include "store/statistics.h"

class QCheckBox;
class QPushButton;
class StatisticsView;

// The "Statistics" dialog: shows the statistics of every variation and
// resets them when it is closed with OK and "Reset Statistics" checked.
// Cancel changes nothing. The reset is in memory; the statistics reach the
// settings file at the next save.
class StatisticsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsDlg(Statistics& stats, QWidget* parent = nullptr);

  StatisticsView& View() { return *Table; }
  QCheckBox& ResetBox() { return *Reset; }
  QPushButton& OkButton() { return *Ok; }
  QPushButton& CancelButton() { return *Cancel; }
  QPushButton& HelpButton() { return *Help; }

  void accept() override;

 signals:
  void HelpRequested();

 private:
  Statistics& Stats;
  StatisticsView* Table;
  QCheckBox* Reset;
  QPushButton* Ok;
  QPushButton* Cancel;
  QPushButton* Help;
};
