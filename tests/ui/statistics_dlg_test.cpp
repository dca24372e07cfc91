#include <gtest/gtest.h>

#include <map>

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "ui/history_charts.h"
#include "ui/statistics_dlg.h"
#include "ui/statistics_view.h"
#include "ui/win_rate_chart.h"
#include "ui_test_support.h"

namespace {

Statistics SomeStatistics() {
  Statistics stats;
  uint32_t value = 1;
  for (auto& kind : stats.Values)
    for (uint32_t& v : kind) v = value++ * 11;
  stats.At(USER_POINTS, 2) = 4000000000u;  // read back unsigned
  return stats;
}

// Clicks the check box's square, as a person would.
void Tick(QCheckBox& box) { QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2)); }

const StatisticsView::Item* Find(const std::vector<StatisticsView::Item>& items, const QString& text) {
  for (const auto& item : items)
    if (item.Text == text) return &item;
  return nullptr;
}

}  // namespace

// Only a dialog with the reset box checked offers OK and Cancel; otherwise
// it has only Close. Nothing but OK with the box checked resets.
TEST(StatisticsDlg, OkWithResetClearsEverythingCloseCancelAndEscapeChangeNothing) {
  const Statistics before = SomeStatistics();
  auto shown = [](StatisticsDlg& dialog) {
    return std::vector<bool>{dialog.CloseButton().isVisible(), dialog.OkButton().isVisible(),
                             dialog.CancelButton().isVisible()};
  };
  const std::vector<bool> closing{true, false, false}, resetting{false, true, true};
  {
    Statistics stats = before;
    StatisticsDlg dialog(stats);
    dialog.show();
    EXPECT_EQ(shown(dialog), closing);
    Tick(dialog.ResetBox());
    ASSERT_TRUE(dialog.ResetBox().isChecked());
    EXPECT_EQ(shown(dialog), resetting);
    QTest::mouseClick(&dialog.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(stats.Values, before.Values);
  }
  {
    Statistics stats = before;
    StatisticsDlg dialog(stats);
    dialog.show();
    Tick(dialog.ResetBox());
    Tick(dialog.ResetBox());
    EXPECT_EQ(shown(dialog), closing);
    EXPECT_TRUE(dialog.CloseButton().isDefault());
    QTest::mouseClick(&dialog.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stats.Values, before.Values);
  }
  for (bool checked : {false, true}) {
    Statistics stats = before;
    StatisticsDlg dialog(stats);
    dialog.show();
    if (checked) Tick(dialog.ResetBox());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << checked;
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << checked;
    EXPECT_EQ(stats.Values, before.Values) << checked;
  }
  {
    Statistics stats = before;
    StatisticsDlg dialog(stats);
    dialog.show();
    Tick(dialog.ResetBox());
    EXPECT_TRUE(dialog.OkButton().isDefault());
    QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stats.Values, Statistics().Values);
  }
}

TEST(StatisticsDlg, TitleCheckBoxAndButtons) {
  Statistics stats;
  StatisticsDlg dialog(stats);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Statistics"));
  EXPECT_EQ(dialog.ResetBox().text(), QStringLiteral("Reset Statistics"));
  EXPECT_FALSE(dialog.ResetBox().isChecked());
  EXPECT_EQ(dialog.CloseButton().text(), QStringLiteral("Close"));
  EXPECT_EQ(dialog.OkButton().text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.CancelButton().text(), QStringLiteral("Cancel"));
  EXPECT_EQ(dialog.HelpButton().text(), QStringLiteral("Help"));
  bool helpAsked = false;
  QObject::connect(&dialog, &StatisticsDlg::HelpRequested, [&] { helpAsked = true; });
  dialog.open();
  QTest::mouseClick(&dialog.HelpButton(), Qt::LeftButton);
  EXPECT_TRUE(helpAsked);
  EXPECT_TRUE(dialog.isVisible());
}

TEST(StatisticsView, PlacesHeaderCaptionsLabelsAndValuesInUnitsOfZero) {
  const Statistics stats = SomeStatistics();
  StatisticsView view(stats);
  const int w = view.Unit().width();
  const int h = view.Unit().height();
  const auto items = view.Items();

  const auto* category = Find(items, QStringLiteral("Category"));
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(category->X, 4 * w);
  EXPECT_EQ(category->Y, h / 2);
  EXPECT_EQ(Find(items, QStringLiteral("You"))->X, 25 * w);
  EXPECT_EQ(Find(items, QStringLiteral("Computer"))->X, 33 * w);
  EXPECT_EQ(view.HeaderRule(), QLine(w, h / 2 + h + 3, 43 * w, h / 2 + h + 3));

  // Three blocks of a caption and three rows, in that order.
  QStringList labels;
  for (const auto& item : items)
    if (!item.RightAligned) labels << item.Text;
  EXPECT_EQ(labels, (QStringList{"Category", "You", "Computer", "Simple Gin:", "Total Points", "Games Won",
                                 "Best Score", "Standard Gin:", "Total Points", "Games Won", "Best Score",
                                 "Oklahoma Gin:", "Total Points", "Games Won", "Best Score"}));

  const auto* standard = Find(items, QStringLiteral("Standard Gin:"));
  EXPECT_EQ(standard->X, 2 * w);
  const auto* simple = Find(items, QStringLiteral("Simple Gin:"));
  EXPECT_NEAR(simple->Y, view.HeaderRule().y1() + 0.4 * h, 1.0);
  EXPECT_NEAR(standard->Y - simple->Y, 4.2 * h, 1.0);

  // The values of a row, right-aligned at 28w and 40w, for the block's
  // variation: Standard's total points, games won and best score.
  std::vector<const StatisticsView::Item*> values;
  for (const auto& item : items)
    if (item.RightAligned && item.Y > standard->Y && item.Y < standard->Y + 4 * h) values.push_back(&item);
  ASSERT_EQ(values.size(), 6u);
  const QString expectedValues[6] = {
      QString::number(stats.At(USER_POINTS, 1)),      QString::number(stats.At(COMPUTER_POINTS, 1)),
      QString::number(stats.At(USER_WINS, 1)),        QString::number(stats.At(COMPUTER_WINS, 1)),
      QString::number(stats.At(USER_BEST_SCORE, 1)), QString::number(stats.At(COMPUTER_BEST_SCORE, 1)),
  };
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(values[i]->Text, expectedValues[i]) << i;
    EXPECT_EQ(values[i]->X, (i % 2 == 0 ? 28 : 40) * w) << i;
    EXPECT_EQ(values[i]->Y, standard->Y + (1 + i / 2) * h) << i;
  }
  // Read back unsigned, in the locale's form.
  EXPECT_NE(Find(items, QLocale().toString(4000000000u)), nullptr);
}

// With the history's figures beside the table: every figure under the name
// of its label, and no label narrower than its text.
TEST(StatisticsDlg, Screenshots) {
  Statistics stats = SomeStatistics();
  HistoryFigures figures;
  figures.HandsPlayed = 120;
  figures.HandsWon = 64;
  figures.HandsLost = 51;
  figures.Knocks = 40;
  figures.Gins = 9;
  figures.Undercuts = 3;
  figures.LongestWinningStreak = 6;
  figures.PointsPerHand = 2.45;
  figures.GamesByLevel[4] = {7, 12};
  figures.GamesByVariation[1] = {7, 12};
  for (uint32_t hand = 0; hand < 80; ++hand)
    figures.WinRateOverTime.push_back({0.3 + 0.005 * hand, hand < 30 ? 2u : hand < 60 ? 3u : 4u});
  for (int32_t hand = 0; hand < 120; ++hand) figures.PointsOverTime.push_back((hand * 37) % 71 - 30);
  figures.RecentPointsPerHand = -1.26;
  figures.ComputerShareByLevel[2] = {0.7, 0.55, 0.5};
  figures.ComputerShareByLevel[4] = {0.35, 0.45, 0.6, 0.62};
  StatisticsDlg dialog(stats, figures);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  std::map<QString, QString> shown;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->accessibleName().isEmpty()) shown[label->accessibleName()] = label->text();
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
  }
  EXPECT_EQ(shown[QStringLiteral("Hands won:")], QStringLiteral("64"));
  EXPECT_EQ(shown[QStringLiteral("Points per hand (yours less the computer's):")], QStringLiteral("2.5"));
  EXPECT_EQ(shown[QStringLiteral("Master:")], QStringLiteral("7 of 12 (58%)"));
  EXPECT_EQ(shown[QStringLiteral("Level 1:")], QStringLiteral("\u2013"));
  const QWidget* chart = dialog.findChild<WinRateChart*>();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->accessibleDescription(), QStringLiteral("Now 70%; at the start of the history 30%"));
  EXPECT_GE(chart->width(), chart->sizeHint().width());
  EXPECT_EQ(dialog.findChild<PointsChart*>()->accessibleDescription(),
            QStringLiteral("Per hand on average +2.5; over the last 20 hands -1.3"));
  EXPECT_EQ(dialog.findChild<LevelShareChart*>()->accessibleDescription(),
            QStringLiteral("Level 3: 70% at first, 50% lately; Master: 35% at first, 62% lately"));
  // The charts take turns, so the dialog stays within a small screen.
  EXPECT_LE(dialog.height(), 700);
  for (int tab = 0; tab < dialog.ChartTabs()->count(); ++tab) {
    dialog.ChartTabs()->setCurrentIndex(tab);
    for (qreal ratio : {1.0, 1.5, 2.0}) {
      const QImage image = Rendered(dialog, ratio);
      EXPECT_EQ(image.width(), qRound(dialog.width() * ratio));
      SaveShot(image, QStringLiteral("sheet_statistics%1-%2x.png").arg(tab).arg(ratio));
    }
  }
}
