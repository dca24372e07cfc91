// The game table window as the flow's presentation: the idle steps and
// timed waits, the status panes, message boxes and questions, the moves
// and the score sheet.
#include "ui/flow_presenter.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>

#include "game/hand_end_view.h"
#include "game/meld_marks.h"
#include "game/status_texts.h"
#include "ui/resource_text.h"
#include "ui/score_sheet_window.h"
#include "ui/table_owner.h"
#include "ui/table_status_panes.h"
#include "ui/table_view.h"

FlowPresenter::FlowPresenter(QWidget& widget, TableOwner& owner, TableView& view, const TablePrompter& prompt)
    : Widget(widget), Owner(owner), View(view), Prompt(prompt) {
  IdleTimer.setSingleShot(true);
  connect(&IdleTimer, &QTimer::timeout, this, &FlowPresenter::OnIdle);
  SheetView = new ScoreSheetWindow(owner.Sheet(), &widget);
  connect(SheetView, &ScoreSheetWindow::ClosedByUser, this, [this] {
    Owner.Table().Flow.NoteScoreSheetClosed();
    emit CommandsChanged();
  });
}

// ------------------------------------------------------- idle and waiting

void FlowPresenter::KickIdle() {
  RefreshDeadwood();
  if (!IdleTimer.isActive() && Owner.Table().Flow.HasIdleWork()) IdleTimer.start(0);
}

void FlowPresenter::OnIdle() {
  const bool more = Owner.Table().Flow.IdleStep();
  View.ShowFocus();
  RefreshDeadwood();
  emit CommandsChanged();
  if (more) IdleTimer.start(0);
}

void FlowPresenter::EndWaitIfDue() {
  if (!ActiveWait) return;
  const GameState& s = Owner.Table().State();
  if ((WaitTimeUp && !s.Dragging) || s.AbortPending || s.ClosingRequested) ActiveWait->quit();
}

bool FlowPresenter::Wait(uint32_t milliseconds) {
  const GameState& s = Owner.Table().State();
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
void FlowPresenter::KeepAlive() {
  constexpr qint64 EVENTS_EVERY_MS = 8;
  if (SinceKeepAlive.isValid() && SinceKeepAlive.elapsed() < EVENTS_EVERY_MS) return;
  QCoreApplication::processEvents();
  SinceKeepAlive.start();
}

void FlowPresenter::AfterInput() {
  View.ShowFocus();
  EndWaitIfDue();
  KickIdle();
  emit CommandsChanged();
}

// After every input and every step of the flow, not on every paint: a drag
// repaints many times and leaves the hand as it was.
void FlowPresenter::RefreshDeadwood() {
  const NxDeck& deck = Owner.Table().Deck;
  // From the announcement to the next deal both hands lie open in their
  // melds, whatever the marks while playing, and the pane counts what the
  // person kept after laying off, as the table does.
  const std::optional<HandEndView> end = HandEndOnTable(deck, Owner.Table().State());
  if (Panes) Panes->SetDeadwood(QString::fromStdString(end ? end->Deadwood[HUMAN_SEAT] : DeadwoodPaneText(deck)));
  View.ShowHandEnd(end);
  if (end)
    View.Picture().SetMarksOnHands(end->Marks);
  else
    View.Picture().SetMarks(HUMAN_PILE, Owner.Settings().Prefs.ShowMelds ? MeldMarks(deck, HUMAN_PILE) : CardMarks{});
}

void FlowPresenter::ApplyTablePreferences() {
  View.Picture().SetGlides(Owner.Settings().Prefs.Animation);
  RefreshDeadwood();
}

void FlowPresenter::PresentRestoredGame() {
  const GameState& s = Owner.Table().State();
  View.Picture().PaintArea(TABLE_AREA);
  SetStatus(s.StatusTextId);
  SetSelection(s.Selection, s.SelectionCard);
  ShowKnockLimit(s.KnockLimit);
  if (s.ScoreSheetShown) ShowScoreSheet();
}

void FlowPresenter::ShowNote(const QString& note) {
  if (Panes) Panes->ShowNote(note);
}

// ------------------------------------------------------------ presentation

bool FlowPresenter::Ask(uint32_t captionId, const QString& text, QMessageBox::Icon icon, bool yesNo) {
  return Prompt(ResourceText(captionId), text, icon, yesNo);
}

void FlowPresenter::SetStatus(uint32_t textId) {
  if (Panes) Panes->SetMain(ResourceText(textId));
}

void FlowPresenter::SetSelection(SelectionKind kind, uint32_t card) {
  if (Panes) Panes->SetSelection(QString::fromStdString(SelectionPaneText(kind, card)));
}

void FlowPresenter::ShowKnockLimit(uint32_t limit) {
  if (Panes) Panes->SetKnockLimit(QString::fromStdString(KnockLimitPaneText(limit)));
}

void FlowPresenter::Message(uint32_t captionId, uint32_t textId, MessageIcon icon) {
  Ask(captionId, ResourceText(textId), ToQtIcon(icon), false);
}

void FlowPresenter::MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures,
                                       MessageIcon icon) {
  Ask(captionId, ResourceText(textId) + "\n\n" + QString::fromStdString(figures), ToQtIcon(icon), false);
}

void FlowPresenter::ShowMoves(const MoveHistory& moves) { View.ShowMoves(moves); }

void FlowPresenter::MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Ask(captionId, QString::fromStdString(text), ToQtIcon(icon), false);
}

bool FlowPresenter::Confirm(uint32_t captionId, uint32_t textId) {
  return Ask(captionId, ResourceText(textId), QMessageBox::Question, true);
}

bool FlowPresenter::ConfirmText(uint32_t captionId, const std::string& text) {
  return Ask(captionId, QString::fromStdString(text), QMessageBox::Warning, true);
}

// At a hand's end the hands lie open before its box comes up.
void FlowPresenter::ShowComputerHand(bool) {
  RefreshDeadwood();
  emit CommandsChanged();
}

void FlowPresenter::ShowScoreSheet() {
  SheetView->SetLaidOff(Owner.Table().State().LaidOff);
  SheetView->Show();
  SheetView->Refresh();
}

void FlowPresenter::CloseScoreSheet() { SheetView->Close(); }

void FlowPresenter::SetBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void FlowPresenter::RepeatCloseRequest() { emit CloseRequested(); }
