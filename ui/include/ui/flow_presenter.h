#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>

#include "game/presentation.h"
#include "ui/table_prompter.h"

class QEventLoop;
class QWidget;
class ScoreSheetWindow;
class TableOwner;
class TableView;
class TableStatusPanes;

// The table window as the flow of a hand sees it: the status panes,
// message boxes and questions, the moves, the score sheet panel, the idle
// steps and the blocking waits that keep the window alive.
class FlowPresenter : public QObject, public Presentation {
  Q_OBJECT

 public:
  // The score sheet panel is a child of `widget` until a frame docks it.
  FlowPresenter(QWidget& widget, TableOwner& owner, TableView& view, const TablePrompter& prompt);

  void SetStatusPanes(TableStatusPanes* panes) { Panes = panes; }
  ScoreSheetWindow* SheetWindow() { return SheetView; }
  // Scales every timed wait (tests and benchmarks play fast).
  void SetWaitFactor(double factor) { WaitFactor = factor; }

  // After every input: the focus framed again, a wait that is due ended,
  // the flow's idle work started.
  void AfterInput();
  void KickIdle();
  void EndWaitIfDue();
  // The deadwood pane and the hand's meld marks, after every input and
  // every step of the flow.
  void RefreshDeadwood();
  // Meld marks and animation as the preferences say.
  void ApplyTablePreferences();
  // A game read from the resume file while the window runs: every pile,
  // the three panes and the score sheet as saved.
  void PresentRestoredGame();
  void ShowNote(const QString& note);

  void SetStatus(uint32_t textId) override;
  void SetSelection(SelectionKind kind, uint32_t card) override;
  void ShowKnockLimit(uint32_t limit) override;
  void Message(uint32_t captionId, uint32_t textId, MessageIcon icon) override;
  void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) override;
  void MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures, MessageIcon icon) override;
  bool Confirm(uint32_t captionId, uint32_t textId) override;
  bool ConfirmText(uint32_t captionId, const std::string& text) override;
  void ShowComputerHand(bool faceUp) override;
  void ShowScoreSheet() override;
  void CloseScoreSheet() override;
  void ShowMoves(const MoveHistory& moves) override;
  void SetBusy(bool busy) override;
  bool Wait(uint32_t milliseconds) override;
  void KeepAlive() override;
  void RepeatCloseRequest() override;

 signals:
  // Enabling or check marks of commands may have changed.
  void CommandsChanged();
  // The table finished its step and asks the frame to close again.
  void CloseRequested();

 private:
  void OnIdle();
  bool Ask(uint32_t captionId, const QString& text, QMessageBox::Icon icon, bool yesNo);

  QWidget& Widget;
  TableOwner& Owner;
  TableView& View;
  const TablePrompter& Prompt;
  TableStatusPanes* Panes = nullptr;
  ScoreSheetWindow* SheetView = nullptr;
  QTimer IdleTimer;
  // Since the window last handled its events during the computer's thinking.
  QElapsedTimer SinceKeepAlive;
  QEventLoop* ActiveWait = nullptr;
  bool WaitTimeUp = false;
  double WaitFactor = 1.0;
};
