#include "game/move_history.h"

#include "game/card_id.h"
#include "game/seats.h"
#include "game/status_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"

std::string CardText(uint32_t card) {
  if (!IsCard(card)) return "";
  return ResourceString(RANK_ACE_TEXT + RankOf(card)) + SuitSign(SuitOf(card));
}

void MoveHistory::Took(uint32_t player, uint32_t card) {
  Move move;
  move.Player = player;
  move.Took = true;
  move.TakenCard = card;
  Moves.push_back(move);
}

void MoveHistory::Passed(uint32_t player) {
  Move move;
  move.Player = player;
  move.Passed = true;
  Moves.push_back(move);
}

MoveHistory::Move& MoveHistory::OpenMove(uint32_t player) {
  if (Moves.empty() || Moves.back().Player != player || !Moves.back().Took || Moves.back().Discarded) {
    Move move;
    move.Player = player;
    Moves.push_back(move);
  }
  return Moves.back();
}

void MoveHistory::Discarded(uint32_t player, uint32_t card, bool knocked) {
  Move& move = OpenMove(player);
  move.Discarded = true;
  move.DiscardedCard = card;
  move.Knocked = knocked;
}

std::string MoveHistory::Text(const Move& move) {
  const bool you = move.Player == HUMAN_SEAT;
  if (move.Passed) return ResourceString(you ? MOVE_YOU_PASSED : MOVE_COMPUTER_PASSED);
  std::string text = ResourceString(you ? MOVE_YOU : MOVE_COMPUTER);
  if (move.Took) {
    text += IsCard(move.TakenCard) ? ResourceString(MOVE_TOOK) + CardText(move.TakenCard) + ResourceString(MOVE_FROM_DISCARD_PILE)
                                   : ResourceString(MOVE_TOOK_FROM_STOCK);
    if (move.Discarded) text += ResourceString(MOVE_AND);
  }
  if (move.Discarded)
    text += ResourceString(move.Knocked ? MOVE_KNOCKED_WITH : MOVE_DISCARDED) + CardText(move.DiscardedCard);
  return text + ".";
}

std::vector<std::string> MoveHistory::Lines() const {
  std::vector<std::string> lines;
  for (const Move& move : Moves) lines.push_back(Text(move));
  return lines;
}

std::string MoveHistory::LastComputerMove() const {
  for (auto move = Moves.rbegin(); move != Moves.rend(); ++move)
    if (move->Player == COMPUTER_SEAT) return Text(*move);
  return "";
}

std::vector<uint32_t> MoveHistory::TakenFromDiscards(uint32_t player) const {
  std::vector<uint32_t> cards;
  for (const Move& move : Moves)
    if (move.Player == player && move.Took && IsCard(move.TakenCard)) cards.push_back(move.TakenCard);
  return cards;
}

std::vector<uint32_t> MoveHistory::Discards(uint32_t player) const {
  std::vector<uint32_t> cards;
  for (const Move& move : Moves)
    if (move.Player == player && move.Discarded && IsCard(move.DiscardedCard)) cards.push_back(move.DiscardedCard);
  return cards;
}
