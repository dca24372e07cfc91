#pragma once

#include <cstdint>
#include <string>

#include "game/deck.h"
#include "game/string_table.h"
#include "player/master_belief.h"
#include "player/master_search.h"
#include "player/seat_player.h"

// Why Master's search chose `chosen`, in one short sentence built from its
// figures: how often a knock runs into an undercut in the sampled deals,
// whether the discard is the one the other player is least likely to use,
// or how many points a hand it gains over the next best move. `deck`
// names the seat's cards.
std::string HintReason(const MasterSearch& search, const MasterBelief& belief, const SeatMove& chosen,
                       const NxDeck& deck);

// How much `card` would help the other player by what this seat knows: its
// meld partners it is known to hold count fully, unseen ones by how likely
// they are to sit in its hand.
double UseForTheOther(uint32_t card, const MasterBelief& belief);

