#include "ui/score_sheet_window.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "app/score_sheet_fit.h"
#include "game/text_ids.h"
#include "store/score_sheet_summary.h"

#include "ui/laid_off_caption_window.h"
#include "ui/resource_text.h"
#include "ui/score_client.h"
#include "ui/sheet_font.h"

namespace {

constexpr uint32_t LABEL_TEXTS[2] = {SHEET_HUMAN_LABEL, SHEET_COMPUTER_LABEL};
// Where each label starts, in units of the width of "0" in the sheet's
// font: over the middle of the human's column, and just after the gap
// before the computer's.
constexpr double LABEL_X[2] = {3.5, 10.0};
constexpr int MARGIN_X = 6;

// The widest text of the longest game in the sheet's font.
int WidestText(const QFont& font) {
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const std::string& text : WidestSheetTexts())
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(text)));
  return widest;
}

// Title bars commonly draw their text bold, a little wider than the
// application's font.
int TitleWidth(const QString& title) {
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(title);
}

}  // namespace

ScoreSheetWindow::ScoreSheetWindow(ScoreSheet& sheet, QWidget* parent)
    : QDockWidget(ResourceText(SCORE_SHEET_TITLE), parent), Sheet(sheet) {
  // The name lets the frame keep the panel's place among its docks.
  setObjectName(QStringLiteral("ScoreSheet"));
  setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  // Until a frame docks it, the panel is a window of its own.
  setFloating(true);
  auto* body = new QWidget(this);
  TheClient = new ScoreClient(sheet, body);
  TheCaption = new LaidOffCaptionWindow(body);

  // The labels sit over the sheet's columns, measured in the sheet's unit.
  auto* header = new QWidget(body);
  const QSize unit = TheClient->Unit();
  int height = 0;
  int labelsRight = 0;
  for (int i = 0; i < 2; ++i) {
    Labels[i] = new QLabel(ResourceText(LABEL_TEXTS[i]), header);
    Labels[i]->adjustSize();
    const int x = static_cast<int>(LABEL_X[i] * unit.width());
    labelsRight = std::max(labelsRight, x + Labels[i]->width());
    height = std::max(height, Labels[i]->height());
  }
  header->setFixedHeight(height);

  SheetWindowParts parts;
  parts.Unit = {unit.width(), unit.height()};
  parts.WidestText = WidestText(TheClient->viewport()->font());
  parts.LabelsRight = labelsRight;
  parts.TitleText = TitleWidth(windowTitle());
  parts.TitleBarHeight = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), fontMetrics().height() + 8);
  parts.ScrollBarWidth = TheClient->verticalScrollBar()->sizeHint().width();
  parts.FrameWidth = TheClient->frameWidth();
  parts.Margins = {2 * MARGIN_X, 0};
  const SheetWindowFit fit = FitScoreSheetWindow(parts);
  TheClient->SetFit(QSize(fit.Sheet.cx, fit.Sheet.cy), fit.LeftInset);
  for (int i = 0; i < 2; ++i)
    Labels[i]->move(TheClient->frameWidth() + fit.LeftInset + static_cast<int>(LABEL_X[i] * unit.width()), 0);

  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(MARGIN_X, 4, MARGIN_X, 6);
  layout->setSpacing(3);
  layout->addWidget(header);
  layout->addWidget(TheClient);
  for (QLabel*& line : Summary) {
    line = new QLabel(body);
    layout->addWidget(line);
  }
  layout->addWidget(TheCaption);
  layout->addStretch(1);
  setWidget(body);
  ShowSummary();
}

void ScoreSheetWindow::ShowSummary() {
  const ScoreSheetSummary summary = SummaryOf(Sheet.Record());
  Summary[0]->setText(QString::fromStdString(summary.Target));
  Summary[1]->setText(QString::fromStdString(summary.Totals));
  Summary[2]->setText(QString::fromStdString(summary.Lead));
}

void ScoreSheetWindow::Show() {
  if (!isVisible()) emit RoomAboutToChange();
  Refresh();
  if (Sheet.Record().GameOver) Sheet.DrawGameEnd();
  show();
  raise();
}

void ScoreSheetWindow::Refresh() {
  Sheet.Sync();
  if (isVisible() && Sheet.Record().GameOver) Sheet.DrawGameEnd();
  TheClient->Refresh();
  ShowSummary();
}

void ScoreSheetWindow::Close() {
  if (isVisible()) emit RoomAboutToChange();
  hide();
}

void ScoreSheetWindow::SetLaidOff(uint32_t pile, const uint32_t* cards, uint32_t count) {
  TheCaption->SetLaidOff(pile, cards, count);
}

void ScoreSheetWindow::ClearLaidOff() { TheCaption->Clear(); }

QString ScoreSheetWindow::HumanLabel() const { return Labels[0]->text(); }
QString ScoreSheetWindow::ComputerLabel() const { return Labels[1]->text(); }
QString ScoreSheetWindow::SummaryText() const {
  return Summary[0]->text() + '\n' + Summary[1]->text() + '\n' + Summary[2]->text();
}

void ScoreSheetWindow::closeEvent(QCloseEvent* event) {
  if (isVisible()) emit RoomAboutToChange();
  QDockWidget::closeEvent(event);
  if (event->isAccepted()) emit ClosedByUser();
}
