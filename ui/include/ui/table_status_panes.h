#pragma once

#include <QString>

class QLabel;
class QStatusBar;

// The panes of the status bar the flow talks through: the main text, the
// deadwood of the person's hand, the selection ("Selection:  " and a card or
// "stock") and the knock limit.
class TableStatusPanes {
 public:
  // Adds the panes to `bar`; the main pane takes the free width, and menu
  // hints cover it while the pointer rests on a command.
  explicit TableStatusPanes(QStatusBar* bar);

  void SetMain(const QString& text);
  void SetSelection(const QString& text);
  void SetKnockLimit(const QString& text);
  void SetDeadwood(const QString& text);
  // A passing note over the main pane, such as a hint. A note (this one or
  // any the bar shows), or else the main text, wider than the room beside
  // the panes hides them until it goes: it is what the person must read.
  void ShowNote(const QString& text);
  bool PanesShown() const;

  QString MainText() const;
  QString SelectionText() const;
  QString KnockLimitText() const;
  QString DeadwoodText() const;

 private:
  void MakeRoomFor(const QString& note);

  QLabel* Main;
  QLabel* Selection;
  QLabel* KnockLimit;
  QLabel* Deadwood;
  QStatusBar* Bar;
};
