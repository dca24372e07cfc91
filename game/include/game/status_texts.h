#pragma once

#include <cstdint>
#include <string>

#include "game/game_state.h"

class NxDeck;

// The texts of the status bar's panes, as UTF-8. A card shows its rank
// text followed by its suit sign (♥ ♦ ♠ ♣).
std::string SelectionPaneText(SelectionKind kind, uint32_t card);
std::string KnockLimitPaneText(uint32_t limit);
// "Deadwood: " and the least deadwood of the cards the person holds, the
// same count quorla-lab deadwood gives for them; empty before the piles
// are laid out.
std::string DeadwoodPaneText(const NxDeck& deck);
// "Stock: " and the number of cards left in it; empty before the piles are
// laid out.
std::string StockCountText(const NxDeck& deck);
// The suit sign of a suit index 0..3; empty for any other value.
std::string SuitSign(uint32_t suit);
