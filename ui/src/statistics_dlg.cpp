#include "ui/statistics_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/history_figures_view.h"
#include "ui/statistics_view.h"
#include "ui/win_rate_chart.h"

StatisticsDlg::StatisticsDlg(Statistics& stats, const HistoryFigures& figures, QWidget* parent)
    : QDialog(parent), Stats(stats) {
  setWindowTitle(QStringLiteral("Statistics"));
  Table = new StatisticsView(stats, this);
  Reset = new QCheckBox(QStringLiteral("Reset Statistics"), this);
  Ok = new QPushButton(QStringLiteral("OK"), this);
  Cancel = new QPushButton(QStringLiteral("Cancel"), this);
  Help = new QPushButton(QStringLiteral("Help"), this);
  Ok->setDefault(true);
  connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Help, &QPushButton::clicked, this, &StatisticsDlg::HelpRequested);

  // The table with the check box under it, the history's figures beside
  // them; the buttons in a column at the right, so the table keeps its own
  // width.
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Ok);
  buttons->addWidget(Cancel);
  buttons->addWidget(Help);
  buttons->addStretch();
  auto* layout = new QGridLayout(this);
  layout->addWidget(Table, 0, 0, Qt::AlignTop);
  layout->addWidget(Reset, 1, 0, Qt::AlignTop);
  layout->addWidget(new HistoryFiguresView(figures, this), 0, 1, 2, 1, Qt::AlignTop);
  layout->addLayout(buttons, 0, 2, 2, 1);
  if (!figures.WinRateOverTime.empty()) layout->addWidget(new WinRateChart(figures.WinRateOverTime, this), 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void StatisticsDlg::accept() {
  if (Reset->isChecked()) Stats.Reset();
  QDialog::accept();
}
