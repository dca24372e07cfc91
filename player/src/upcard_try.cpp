#include "player/upcard_try.h"

#include "game/rules.h"
#include "player/master_rollout.h"

std::optional<UpcardTry> TryTheUpcard(const GameState& state, const NxDeck& deck, uint64_t hand) {
  const int32_t top = deck.TopIndex(DISCARD_PILE);
  if (top < 0 || !UpcardMayBeTaken(state.Offer)) return std::nullopt;
  UpcardTry tried{};
  tried.Upcard = deck.CardIndexAt(DISCARD_PILE, static_cast<uint32_t>(top));
  const uint64_t with = hand | CardBit(tried.Upcard);
  tried.Drop = MasterRollout::BestDiscard(with, tried.Upcard, tried.DeadwoodAfter);
  tried.Kept = with & ~CardBit(tried.Drop);
  return tried;
}
