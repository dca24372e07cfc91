#include "game/headless_presentation.h"

#include "game/string_table.h"

void HeadlessPresentation::SetSelection(SelectionKind kind, uint32_t card) { Selections.emplace_back(kind, card); }

void HeadlessPresentation::Message(uint32_t captionId, uint32_t textId, MessageIcon icon) {
  Messages.push_back({captionId, textId, ResourceString(textId), icon});
}

void HeadlessPresentation::MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures,
                                              MessageIcon icon) {
  Messages.push_back({captionId, textId, std::string(ResourceString(textId)) + "\n\n" + figures, icon});
}

void HeadlessPresentation::MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Messages.push_back({captionId, 0, text, icon});
}

bool HeadlessPresentation::Confirm(uint32_t captionId, uint32_t textId) {
  Confirmations.emplace_back(captionId, textId);
  return NextAnswer();
}

bool HeadlessPresentation::NextAnswer() {
  if (ConfirmAnswers.empty()) return true;
  bool answer = ConfirmAnswers.front();
  ConfirmAnswers.pop_front();
  return answer;
}

bool HeadlessPresentation::ConfirmText(uint32_t captionId, const std::string& text) {
  ConfirmedTexts.emplace_back(captionId, text);
  return NextAnswer();
}

bool HeadlessPresentation::Wait(uint32_t milliseconds) {
  WaitTimes.push_back(milliseconds);
  ++Waits;
  if (DuringWait && Waits == DuringWaitNumber) DuringWait();
  return !(State && (State->AbortPending || State->ClosingRequested));
}

void HeadlessPresentation::Forget() {
  Statuses.clear();
  Selections.clear();
  KnockLimits.clear();
  Messages.clear();
  Confirmations.clear();
  ConfirmedTexts.clear();
  WaitTimes.clear();
}
