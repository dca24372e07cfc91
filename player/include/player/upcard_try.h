#pragma once

#include <cstdint>
#include <optional>

#include "game/deck.h"
#include "game/game_state.h"

// The upcard the human seat may take now, tried: the hand with it, the
// card the seat would then throw (never the upcard) and the deadwood left.
// The rule yardsticks judge their takes by it.
struct UpcardTry {
  uint32_t Upcard;
  uint32_t Drop;
  int32_t DeadwoodAfter;
  uint64_t Kept;  // the hand after the take and the throw
};
std::optional<UpcardTry> TryTheUpcard(const GameState& state, const NxDeck& deck, uint64_t hand);
