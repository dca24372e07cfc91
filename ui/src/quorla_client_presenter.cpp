// The game table window as the flow's presentation: the idle steps and
// timed waits, the status panes, message boxes and questions, the moves
// and the score sheet.
// The game table window: its life cycle, the presentation the flow talks
// through, the idle processing and the timed waits.
#include "ui/quorla_client.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QToolTip>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/card_faces_change.h"
#include "app/dialog_texts.h"
#include "app/score_sheet_fit.h"
#include "app/table_fit.h"
#include "app/table_start.h"
#include "game/meld_marks.h"
#include "game/status_texts.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "store/preferences.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "ui/backdrop.h"
#include "ui/backdrop_loading.h"
#include "ui/image_convert.h"
#include "ui/scenery_picture.h"
#include "ui/score_sheet_window.h"
#include "ui/svg_card_images.h"
#include "ui/table_accessible.h"
#include "ui/table_status_panes.h"
#include "ui/resource_text.h"

// ------------------------------------------------------- idle and waiting

void QuorlaClient::KickIdle() {
  RefreshDeadwood();
  if (!IdleTimer.isActive() && Objects.Flow.HasIdleWork()) IdleTimer.start(0);
}

void QuorlaClient::OnIdle() {
  const bool more = Objects.Flow.IdleStep();
  ShowFocus();
  RefreshDeadwood();
  emit CommandsChanged();
  if (more) IdleTimer.start(0);
}

void QuorlaClient::EndWaitIfDue() {
  if (!ActiveWait) return;
  const GameState& s = Objects.State;
  if ((WaitTimeUp && !s.Dragging) || s.AbortPending || s.ClosingRequested) ActiveWait->quit();
}

bool QuorlaClient::Wait(uint32_t milliseconds) {
  const GameState& s = Objects.State;
  if (!s.AbortPending && !s.ClosingRequested) {
    QEventLoop loop;
    QEventLoop* outer = ActiveWait;
    const bool outerTimeUp = WaitTimeUp;
    ActiveWait = &loop;
    WaitTimeUp = false;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [this] {
      WaitTimeUp = true;
      EndWaitIfDue();
    });
    timer.start(static_cast<int>(milliseconds * WaitFactor));
    loop.exec();
    ActiveWait = outer;
    WaitTimeUp = outerTimeUp;
  }
  return !s.AbortPending;
}

// A slice of thinking is far shorter than a frame: the events are handled
// only every few milliseconds, so that the window answers well within a
// frame and the thinking is not slowed by the event loop.
void QuorlaClient::KeepAlive() {
  constexpr qint64 EVENTS_EVERY_MS = 8;
  if (SinceKeepAlive.isValid() && SinceKeepAlive.elapsed() < EVENTS_EVERY_MS) return;
  QCoreApplication::processEvents();
  SinceKeepAlive.start();
}

void QuorlaClient::AfterInput() {
  ShowFocus();
  EndWaitIfDue();
  KickIdle();
  emit CommandsChanged();
}

// ------------------------------------------------------------ presentation

bool QuorlaClient::Ask(uint32_t captionId, const QString& text, QMessageBox::Icon icon, bool yesNo) {
  return Prompt(ResourceText(captionId), text, icon, yesNo);
}

void QuorlaClient::SetStatus(uint32_t textId) {
  if (Panes) Panes->SetMain(ResourceText(textId));
}

void QuorlaClient::SetSelection(SelectionKind kind, uint32_t card) {
  if (Panes) Panes->SetSelection(QString::fromStdString(SelectionPaneText(kind, card)));
}

void QuorlaClient::ShowKnockLimit(uint32_t limit) {
  if (Panes) Panes->SetKnockLimit(QString::fromStdString(KnockLimitPaneText(limit)));
}

void QuorlaClient::Message(uint32_t captionId, uint32_t textId, MessageIcon icon) {
  Ask(captionId, ResourceText(textId), ToQtIcon(icon), false);
}

void QuorlaClient::MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures,
                                      MessageIcon icon) {
  Ask(captionId, ResourceText(textId) + "\n\n" + QString::fromStdString(figures), ToQtIcon(icon), false);
}

void QuorlaClient::ShowMoves(const MoveHistory& moves) {
  Moves.clear();
  for (const std::string& line : moves.Lines()) Moves << QString::fromStdString(line);
  const QString last = QString::fromStdString(moves.LastComputerMove());
  if (last == LastMove) return;
  LastMove = last;
  if (!Composed.isNull()) update(WidgetRect(ThePicture.ToBuffer(MOVE_LINE_AREA)));
}

void QuorlaClient::MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Ask(captionId, QString::fromStdString(text), ToQtIcon(icon), false);
}

bool QuorlaClient::Confirm(uint32_t captionId, uint32_t textId) {
  return Ask(captionId, ResourceText(textId), QMessageBox::Question, true);
}

bool QuorlaClient::ConfirmText(uint32_t captionId, const std::string& text) {
  return Ask(captionId, QString::fromStdString(text), QMessageBox::Warning, true);
}

void QuorlaClient::ShowComputerHand(bool) { emit CommandsChanged(); }

void QuorlaClient::ShowScoreSheet() {
  SheetView->SetLaidOff(Objects.State.LaidOff);
  if (!SheetView->IsShown()) PlaceScoreSheet();
  SheetView->Show();
  SheetView->Refresh();
}

void QuorlaClient::PlaceScoreSheet() {
  const QWidget* frame = window();
  const QRect outer = frame->frameGeometry();
  // Before its first showing the sheet's frame is not known yet: the main
  // window's decorations are the best guess.
  const QSize decorations = outer.size() - frame->geometry().size();
  const QSize size = SheetView->sizeHint().expandedTo(SheetView->size()) + decorations;
  const QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : outer;
  const TPoint place =
      PlaceBesideFrame({outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1}, {size.width(), size.height()},
                       {available.left(), available.top(), available.right() + 1, available.bottom() + 1},
                       mapToGlobal(QPoint(0, 0)).y());
  SheetView->move(place.x, place.y);
}

void QuorlaClient::FollowFrame() {
  if (SheetView && SheetView->IsShown()) PlaceScoreSheet();
}

void QuorlaClient::CloseScoreSheet() { SheetView->Close(); }

void QuorlaClient::SetBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QuorlaClient::RepeatCloseRequest() { emit CloseRequested(); }
