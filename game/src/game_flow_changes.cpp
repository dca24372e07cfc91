// The changes of the game state that come from outside the flow's own
// steps: the computer's moves, the person's presses and drags, a restored
// game. Everyone else reads the state; these are the only ways to write it.
// The guards of the waits inside a move are here too: while a move waits
// or thinks, the window handles events, and a command may give the move up
// or ask to close.
#include <memory>

#include "game/game_flow.h"

// ------------------------------------------------------- the computer's moves

void GameFlow::PassOffer() { S.Offer = static_cast<OfferStage>(S.Offer + 1); }

void GameFlow::EndOffer() { S.Offer = NORMAL_PLAY; }

void GameFlow::MarkStockExhausted() { S.StockExhausted = true; }

void GameFlow::EndHandIfStockExhausted() {
  if (S.StockExhausted) S.HandOver = true;
}

const NxHandScore& GameFlow::KeepKnockScore(uint32_t seat, const unsigned* kept) {
  S.LastScores[seat] = std::make_unique<NxHandScore>(kept, HAND_CARDS);
  return *S.LastScores[seat];
}

bool GameFlow::WaitInMove(uint32_t milliseconds) { return TheView.Wait(milliseconds) || !S.AbortPending; }

void GameFlow::BeginMove() { S.AbortPending = false; }

bool GameFlow::KeepThinking() {
  TheView.KeepAlive();
  return !S.AbortPending && !S.ClosingRequested;
}

void GameFlow::CloseWithoutSaving() {
  S.ClosingRequested = true;
  S.DoNotSave = true;
}

void GameFlow::KeepFromSaving() { S.DoNotSave = true; }

// ------------------------------------------------------- the person's hand

void GameFlow::BeginDrag(uint32_t position, bool fromDiscard) {
  S.Dragging = true;
  S.HitCard = position;
  S.DragFromDiscard = fromDiscard;
}

void GameFlow::EndDrag() {
  S.Dragging = false;
  S.DragFromDiscard = false;
}

bool GameFlow::SortAgain(HandSort sort) {
  if (sort == HandSort::NONE || S.HandOver) return false;
  const SortState before = S.Sort;
  S.Sort = PLAYERS_ORDER;
  if (SortHand(sort)) return true;
  S.Sort = before;
  return false;
}

// ------------------------------------------------------- a restored game

void GameFlow::AwaitRestoredGame(bool playStarted) {
  if (!playStarted)
    S.ResumePending = true;
  else
    S.AbortPending = true;
}
