#include "ui/statistics_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "game/text_ids.h"
#include "ui/history_charts.h"
#include "ui/history_figures_view.h"
#include "ui/resource_text.h"
#include "ui/statistics_view.h"
#include "ui/win_rate_chart.h"

StatisticsDlg::StatisticsDlg(Statistics& stats, const HistoryFigures& figures, QWidget* parent)
    : QDialog(parent), Stats(stats) {
  setWindowTitle(ResourceText(STATISTICS_TITLE));
  Table = new StatisticsView(stats, this);
  Reset = new QCheckBox(ResourceText(RESET_STATISTICS), this);
  Close = new QPushButton(ResourceText(STATISTICS_CLOSE), this);
  Ok = new QPushButton(ResourceText(OK_BUTTON), this);
  Cancel = new QPushButton(ResourceText(CANCEL_BUTTON), this);
  Help = new QPushButton(ResourceText(HELP_BUTTON), this);
  connect(Close, &QPushButton::clicked, this, &QDialog::reject);
  connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Help, &QPushButton::clicked, this, &StatisticsDlg::HelpRequested);
  connect(Reset, &QCheckBox::toggled, this, &StatisticsDlg::ShowButtons);
  ShowButtons(false);

  // The table with the check box under it, the history's figures beside
  // them; the buttons in a column at the right, so the table keeps its own
  // width.
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Close);
  buttons->addWidget(Ok);
  buttons->addWidget(Cancel);
  buttons->addWidget(Help);
  buttons->addStretch();
  auto* layout = new QGridLayout(this);
  layout->addWidget(Table, 0, 0, Qt::AlignTop);
  layout->addWidget(Reset, 1, 0, Qt::AlignTop);
  layout->addWidget(new HistoryFiguresView(figures, this), 0, 1, 2, 1, Qt::AlignTop);
  layout->addLayout(buttons, 0, 2, 2, 1);
  // The charts take turns under the figures: all three at once would make
  // the dialog taller than a small screen.
  if (!figures.WinRateOverTime.empty()) {
    Charts = new QTabWidget(this);
    Charts->addTab(new WinRateChart(figures.WinRateOverTime, Charts), ResourceText(HISTORY_TAB_WIN_RATE));
    Charts->addTab(new PointsChart(figures, Charts), ResourceText(HISTORY_TAB_POINTS));
    Charts->addTab(new LevelShareChart(figures, Charts), ResourceText(HISTORY_TAB_SHARE));
    layout->addWidget(Charts, 2, 0, 1, 2);
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Only a dialog about to reset has anything to confirm or to call off;
// otherwise it is only looked at and closed.
void StatisticsDlg::ShowButtons(bool resetting) {
  Close->setVisible(!resetting);
  Ok->setVisible(resetting);
  Cancel->setVisible(resetting);
  Close->setDefault(!resetting);
  Ok->setDefault(resetting);
}

void StatisticsDlg::accept() {
  if (Reset->isChecked()) Stats.Reset();
  QDialog::accept();
}
