#include "player/gin_hunter_player.h"

#include <vector>

#include "game/deadwood.h"
#include "game/rules.h"
#include "player/master_belief.h"
#include "player/master_rollout.h"
#include "player/upcard_try.h"

SeatMove GinHunterPlayer::Choose(GameFlow& flow) const {
  const GameState& state = flow.State();
  const NxDeck& deck = flow.Deck();
  const std::vector<uint32_t> cards = deck.PileCards(HUMAN_PILE);
  const uint64_t hand = deck.PileMask(HUMAN_PILE);
  if (state.Play == HumanTake) {
    if (const std::optional<UpcardTry> tried = TryTheUpcard(state, deck, hand)) {
      const int32_t after = tried->DeadwoodAfter;
      const bool melds = LeastDeadwood(tried->Kept & ~CardBit(tried->Upcard)) + CardPoints[RankOf(tried->Upcard)] > after;
      if (melds || after + 3 <= LeastDeadwood(hand)) return {SeatMove::TAKE_UPCARD};
    }
    return {PassAllowed(state.Offer) ? SeatMove::PASS : SeatMove::TAKE_STOCK};
  }
  // The other player's visible interests: what it took from the pile.
  const std::vector<uint32_t> wanted = flow.Moves().TakenFromDiscards(COMPUTER_SEAT);
  uint32_t chosen = 0;
  int32_t chosenDeadwood = INT32_MAX;
  bool chosenFeeds = true;
  for (uint32_t i = 0; i < cards.size(); ++i) {
    const uint32_t card = cards[i];
    if (card == state.UpcardTaken) continue;
    const int32_t left = LeastDeadwood(hand & ~CardBit(card));
    bool feeds = false;
    for (uint32_t taken : wanted)
      if (MasterBelief::Related(card, taken)) feeds = true;
    const bool better =
        left < chosenDeadwood ||
        (left == chosenDeadwood && ((chosenFeeds && !feeds) ||
                                    (feeds == chosenFeeds && CardPoints[RankOf(card)] > CardPoints[RankOf(cards[chosen])])));
    if (better) chosen = i, chosenDeadwood = left, chosenFeeds = feeds;
  }
  const bool hunting = chosenDeadwood > 0 && chosenDeadwood <= HOLD_DEADWOOD &&
                       deck.CardsInPile(STOCK_PILE) >= HOLD_STOCK;
  if (IsLegalKnock(chosenDeadwood, state.KnockLimit) && !hunting) return {SeatMove::KNOCK, chosen};
  return {SeatMove::DISCARD, chosen};
}
