#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/game_flow.h"

// What the top level's networks would do in the person's place now: the
// table command (take the upcard or the stock card, pass, discard or knock)
// and, for a discard or a knock, the hand position of the card.
struct Hint {
  uint32_t Command = 0;
  uint32_t Position = 0;
};

// The advice comes from a player of its own, seated in the person's place
// with the networks of the top level of `dataFile` (never written), that
// knows what the person knows: the hand, the discard pile and the cards the
// computer took from it. Nothing of the table changes and the computer's
// networks learn nothing from it. Nothing while it is not the person's move.
std::optional<Hint> AdviseHuman(GameFlow& flow, const std::string& dataFile);

// "Hint: discard Q♣." and the like.
std::string HintText(const Hint& hint, const NxDeck& deck);
