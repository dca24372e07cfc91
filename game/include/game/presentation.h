#pragma once

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "game/move_history.h"
#include "game/user_messages.h"

// What the flow of a hand asks of whoever shows the table: status panes,
// message boxes, the score sheet, the cursor and timed waits. The flow never
// draws; a window implements this with its widgets, tests with a recorder.
// Its composed-text messages and questions are the user messages.
class Presentation : public UserMessages {
 public:
  ~Presentation() override = default;

  // The main status pane shows resource string textId.
  virtual void SetStatus(uint32_t textId) = 0;
  // "Selection:  " followed by "stock" (kind 2) or a card (kind 3); kind 0
  // shows the label alone.
  virtual void SetSelection(SelectionKind kind, uint32_t card) = 0;
  virtual void ShowKnockLimit(uint32_t limit) = 0;
  // A modal box with an OK button; caption and text are resource strings.
  virtual void Message(uint32_t captionId, uint32_t textId, MessageIcon icon) = 0;
  // The same box with a line of figures composed at run time below the
  // resource text: the counts behind a knock's result.
  virtual void MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures,
                                  MessageIcon icon) = 0;
  // A modal Yes/No box; true for yes.
  virtual bool Confirm(uint32_t captionId, uint32_t textId) = 0;
  virtual void ShowComputerHand(bool faceUp) = 0;
  virtual void ShowScoreSheet() = 0;
  virtual void CloseScoreSheet() = 0;
  // The hand's moves so far, after every move and at a deal.
  virtual void ShowMoves(const MoveHistory& moves) = 0;
  virtual void SetBusy(bool busy) = 0;
  // Lets the window handle its messages for the given time. False when the
  // wait was abandoned (abort pending or closing requested meanwhile).
  virtual bool Wait(uint32_t milliseconds) = 0;
  // Lets the window handle the events that came in during a long piece of
  // the computer's thinking, called every few milliseconds of it; whoever
  // calls looks at the abort and close flags afterwards.
  virtual void KeepAlive() {}
  // The table refused a close request while it was busy and now asks again.
  virtual void RepeatCloseRequest() {}
};
