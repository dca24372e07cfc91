#include "player/net_player.h"

#include "game/hand_score.h"
#include "neural/net.h"

NetPlayer::NetPlayer(GameFlow& flow, uint32_t level, const std::string& dataFile, uint32_t block)
    : Engine(std::make_unique<ComputerPlay>(flow, level, 0)), Label("net:" + std::to_string(level)) {
  Engine->UseFixedDataFile(dataFile);
  Engine->Init();
  if (block < NUM_LEVELS && block != level && !Engine->LoadNets(block, false)) flow.KeepFromSaving();
  Engine->SelectNet(NetworkChoice(flow.State().Variation, STANDARD_KNOCK_LIMIT));
}

void NetPlayer::RememberDiscardPile(const NxDeck& deck) {
  int32_t top = deck.TopIndex(DISCARD_PILE);
  KnownDiscards = deck.CardsInPile(DISCARD_PILE);
  KnownTop = top >= 0 ? deck.CardIndexAt(DISCARD_PILE, top) : NoCard;
}

void NetPlayer::StartHand(GameFlow& flow) {
  if (flow.State().Variation == OKLAHOMA_GIN) Engine->SelectNet(NetworkChoice(OKLAHOMA_GIN, flow.State().KnockLimit));
  Engine->StartHand();
  RememberDiscardPile(flow.Deck());
}

// Between two of this seat's actions the computer either drew from the
// stock and discarded (one card more on the pile), or took the top card and
// discarded another (as many cards, another top), or passed the offer.
void NetPlayer::NoteOpponentMoves(const NxDeck& deck) {
  int32_t top = deck.TopIndex(DISCARD_PILE);
  uint32_t count = deck.CardsInPile(DISCARD_PILE);
  uint32_t topCard = top >= 0 ? deck.CardIndexAt(DISCARD_PILE, top) : NoCard;
  if (count == KnownDiscards + 1) {
    Engine->NoteCard(DISCARD_PILE, topCard, COMPUTER_VECTOR);
  } else if (count == KnownDiscards && topCard != KnownTop) {
    Engine->NoteCard(HUMAN_PILE, KnownTop, COMPUTER_VECTOR);
    Engine->NoteCard(DISCARD_PILE, topCard, COMPUTER_VECTOR);
  }
  RememberDiscardPile(deck);
}

bool NetPlayer::Move(GameFlow& flow) {
  NoteOpponentMoves(flow.Deck());
  bool moved = flow.State().Play == HumanTake ? Take(flow) : DiscardOrKnock(flow);
  RememberDiscardPile(flow.Deck());
  return moved;
}

bool NetPlayer::Take(GameFlow& flow) {
  const GameState& state = flow.State();
  NxDeck& deck = flow.Deck();
  int32_t top = deck.TopIndex(DISCARD_PILE);
  if (UpcardMayBeTaken(state.Offer) && top >= 0 && Engine->WantsUpcard(0)) {
    uint32_t upcard = deck.CardIndexAt(DISCARD_PILE, top);
    if (!flow.TakeUpcard()) return false;
    Engine->NoteOwnTake(upcard, true);
    return true;
  }
  if (PassAllowed(state.Offer)) return flow.Pass();
  return TakeStock(flow);
}

bool NetPlayer::TakeStock(GameFlow& flow) {
  NxDeck& deck = flow.Deck();
  if (flow.State().Offer == FIRST_PLAYER_TAKES_STOCK) Engine->ForgetPlannedDiscard();
  int32_t stockTop = deck.TopIndex(STOCK_PILE);
  if (stockTop < 0) return false;
  uint32_t card = deck.CardIndexAt(STOCK_PILE, stockTop);
  if (!flow.TakeStockCard()) return false;
  Engine->NoteOwnTake(card, false);
  return true;
}

bool NetPlayer::DiscardOrKnock(GameFlow& flow) {
  ComputerPlay::DiscardPlan plan = Engine->PlanDiscard(false);
  return plan.Knock ? flow.Knock(plan.Position) : flow.Discard(plan.Position);
}

SeatMove NetPlayer::Suggest(GameFlow& flow) {
  NoteOpponentMoves(flow.Deck());
  const GameState& state = flow.State();
  NxDeck& deck = flow.Deck();
  if (state.Play == HumanTake) {
    if (UpcardMayBeTaken(state.Offer) && deck.TopIndex(DISCARD_PILE) >= 0 && Engine->WantsUpcard(0))
      return {SeatMove::TAKE_UPCARD};
    return {PassAllowed(state.Offer) ? SeatMove::PASS : SeatMove::TAKE_STOCK};
  }
  const uint32_t k = Engine->ChooseDiscard();
  unsigned kept[10];
  for (uint32_t i = 0, n = 0; i < 11 && n < 10; ++i)
    if (i != k) kept[n++] = deck.CardIndexAt(HUMAN_PILE, i);
  const bool knock = NxHandScore(kept, 10).BestDeadwood() <= static_cast<int32_t>(state.KnockLimit);
  return {knock ? SeatMove::KNOCK : SeatMove::DISCARD, k};
}

bool NetPlayer::Follow(GameFlow& flow, const SeatMove& move) {
  NxDeck& deck = flow.Deck();
  const int32_t top = deck.TopIndex(DISCARD_PILE);
  const uint32_t upcard = top >= 0 ? deck.CardIndexAt(DISCARD_PILE, top) : NoCard;
  bool moved = false;
  switch (move.What) {
    case SeatMove::TAKE_UPCARD:
      Engine->NoteUpcardChoice(upcard, true);
      moved = flow.TakeUpcard();
      if (moved) Engine->NoteOwnTake(upcard, true);
      break;
    case SeatMove::PASS:
      Engine->NoteUpcardChoice(upcard, false);
      moved = flow.Pass();
      break;
    case SeatMove::TAKE_STOCK:
      if (UpcardMayBeTaken(flow.State().Offer) && IsCard(upcard)) Engine->NoteUpcardChoice(upcard, false);
      moved = TakeStock(flow);
      break;
    case SeatMove::DISCARD:
    case SeatMove::KNOCK:
      Engine->NoteDiscard(move.Position, false);
      moved = move.What == SeatMove::KNOCK ? flow.Knock(move.Position) : flow.Discard(move.Position);
      break;
    case SeatMove::NONE:
      break;
  }
  RememberDiscardPile(deck);
  return moved;
}
