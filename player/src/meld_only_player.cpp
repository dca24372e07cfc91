#include "player/meld_only_player.h"

#include <vector>

#include "game/deadwood.h"
#include "game/rules.h"
#include "player/master_belief.h"
#include "player/master_rollout.h"
#include "player/upcard_try.h"

namespace {


// Whether `card` is deadwood in every least-deadwood arrangement of `hand`.
bool Unmatched(uint64_t hand, uint32_t card) {
  return LeastDeadwood(hand & ~CardBit(card)) + CardPoints[RankOf(card)] == LeastDeadwood(hand);
}

}  // namespace

SeatMove MeldOnlyPlayer::Choose(GameFlow& flow) const {
  const GameState& state = flow.State();
  const NxDeck& deck = flow.Deck();
  const std::vector<uint32_t> cards = deck.PileCards(HUMAN_PILE);
  const uint64_t hand = deck.PileMask(HUMAN_PILE);
  if (state.Play == HumanTake) {
    if (const std::optional<UpcardTry> tried = TryTheUpcard(state, deck, hand))
      if (IsLegalKnock(tried->DeadwoodAfter, state.KnockLimit) || !Unmatched(tried->Kept, tried->Upcard))
        return {SeatMove::TAKE_UPCARD};
    return {PassAllowed(state.Offer) ? SeatMove::PASS : SeatMove::TAKE_STOCK};
  }
  int32_t after;
  const uint32_t best = MasterRollout::BestDiscard(hand, state.UpcardTaken, after);
  auto position = [&](uint32_t card) { return deck.PositionOf(HUMAN_PILE, card).value_or(0); };
  if (IsLegalKnock(after, state.KnockLimit)) return {SeatMove::KNOCK, position(best)};
  uint32_t chosen = NoCard;
  bool chosenAlone = false;
  for (uint32_t card : cards) {
    if (card == state.UpcardTaken || !Unmatched(hand, card)) continue;
    bool alone = true;
    for (uint32_t other : cards)
      if (MasterBelief::Related(card, other)) alone = false;
    const bool better = chosen == NoCard || (alone && !chosenAlone) ||
                        (alone == chosenAlone && CardPoints[RankOf(card)] > CardPoints[RankOf(chosen)]);
    if (better) chosen = card, chosenAlone = alone;
  }
  return {SeatMove::DISCARD, position(chosen != NoCard ? chosen : best)};
}
