#include "ui/history_figures_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>

#include "game/text_ids.h"
#include "ui/resource_text.h"

namespace {

QString Whole(uint32_t value) { return QLocale().toString(value); }

// "3 of 5 (60%)", or "–" before any game.
QString WonOf(const HistoryFigures::Share& share) {
  if (share.Played == 0) return QStringLiteral("\u2013");
  const int percent = static_cast<int>(100.0 * share.Won / share.Played + 0.5);
  return Whole(share.Won) + ResourceText(HISTORY_GAMES_WON_OF) + Whole(share.Played) + QStringLiteral(" (") +
         QLocale().toString(percent) + QLocale().percent() + QStringLiteral(")");
}

}  // namespace

HistoryFiguresView::HistoryFiguresView(const HistoryFigures& figures, QWidget* parent)
    : QGroupBox(ResourceText(HISTORY_FIGURES_TITLE), parent), Grid(new QGridLayout(this)) {
  Grid->setVerticalSpacing(1);
  if (figures.HandsPlayed == 0) {
    Grid->addWidget(new QLabel(ResourceText(HISTORY_EMPTY), this), 0, 0);
    return;
  }
  AddRow(HISTORY_HANDS_WON, Whole(figures.HandsWon));
  AddRow(HISTORY_HANDS_LOST, Whole(figures.HandsLost));
  AddRow(HISTORY_KNOCKS, Whole(figures.Knocks));
  AddRow(HISTORY_GINS, Whole(figures.Gins));
  AddRow(HISTORY_UNDERCUTS, Whole(figures.Undercuts));
  AddRow(HISTORY_POINTS_PER_HAND, QLocale().toString(figures.PointsPerHand, 'f', 1));
  AddRow(HISTORY_LONGEST_STREAK, Whole(figures.LongestWinningStreak));
  AddHeading(HISTORY_GAMES_BY_LEVEL);
  for (uint32_t level = 0; level < figures.GamesByLevel.size(); ++level)
    AddRow(HISTORY_LEVEL_1 + level, WonOf(figures.GamesByLevel[level]));
  AddHeading(HISTORY_GAMES_BY_VARIATION);
  for (uint32_t variation = 0; variation < figures.GamesByVariation.size(); ++variation)
    AddRow(SIMPLE_GIN_TEXT + variation, WonOf(figures.GamesByVariation[variation]));
  Grid->setColumnStretch(2, 1);
}

void HistoryFiguresView::AddRow(uint32_t labelId, const QString& value) {
  auto* label = new QLabel(ResourceText(labelId), this);
  auto* shown = new QLabel(value, this);
  shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Read on its own, a number says nothing: it carries its label's name.
  shown->setAccessibleName(label->text());
  Grid->addWidget(label, Rows, 0);
  Grid->addWidget(shown, Rows, 1);
  ++Rows;
}

void HistoryFiguresView::AddHeading(uint32_t textId) {
  auto* heading = new QLabel(ResourceText(textId), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  Grid->addWidget(heading, Rows++, 0, 1, 2);
}
