#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "game/presentation.h"

// A presentation without a window: it records everything it is told,
// answers confirmations from a script (yes when the script is empty) and
// completes every wait at once. A test can have a command arrive during a
// chosen wait, the way a window handles commands inside its message loop.
class HeadlessPresentation : public Presentation {
 public:
  struct ShownMessage {
    uint32_t Caption;
    uint32_t TextId;  // 0 for a composed text
    std::string Text;
    MessageIcon Icon;
  };

  // The flags that end a wait early.
  void Watch(const GameState* state) { State = state; }
  // Drops the record of what was shown so far, so that matches of many
  // hands that never read it keep a steady size. Waits keep counting, so a
  // command scripted for a given wait still arrives at that wait.
  void Forget();

  void SetStatus(uint32_t textId) override { Statuses.push_back(textId); }
  void SetSelection(SelectionKind kind, uint32_t card) override;
  void ShowKnockLimit(uint32_t limit) override { KnockLimits.push_back(limit); }
  void Message(uint32_t captionId, uint32_t textId, MessageIcon icon) override;
  void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) override;
  void MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures, MessageIcon icon) override;
  bool Confirm(uint32_t captionId, uint32_t textId) override;
  bool ConfirmText(uint32_t captionId, const std::string& text) override;
  void ShowComputerHand(bool faceUp) override { ComputerHandFaceUp = faceUp; }
  void ShowScoreSheet() override { ++ScoreSheetShows; }
  void CloseScoreSheet() override { ++ScoreSheetCloses; }
  void ShowMoves(const MoveHistory& moves) override { Moves = &moves; }
  void SetBusy(bool busy) override { Busy = busy; }
  bool Wait(uint32_t milliseconds) override;
  // Counts as a wait of no time, so that a scripted command can arrive
  // in the middle of the computer's thinking as it does in a window.
  void KeepAlive() override { Wait(0); }
  void RepeatCloseRequest() override { ++CloseRequests; }

  // The script.
  std::deque<bool> ConfirmAnswers;
  // Runs during wait number `DuringWaitNumber` (counting from 1).
  uint32_t DuringWaitNumber = 0;
  std::function<void()> DuringWait;

  // What was shown.
  std::vector<uint32_t> Statuses;
  std::vector<std::pair<SelectionKind, uint32_t>> Selections;
  std::vector<uint32_t> KnockLimits;
  std::vector<ShownMessage> Messages;
  std::vector<std::pair<uint32_t, uint32_t>> Confirmations;
  std::vector<std::pair<uint32_t, std::string>> ConfirmedTexts;
  std::vector<uint32_t> WaitTimes;
  // The flow's record of the hand's moves, once it showed them.
  const MoveHistory* Moves = nullptr;
  bool ComputerHandFaceUp = false;
  bool Busy = false;
  uint32_t ScoreSheetShows = 0;
  uint32_t ScoreSheetCloses = 0;
  uint32_t CloseRequests = 0;

 private:
  bool NextAnswer();
  const GameState* State = nullptr;
  uint64_t Waits = 0;
};
