#pragma once

#include <array>
#include <optional>
#include <string>

#include "game/deck.h"
#include "game/game_state.h"
#include "game/meld_marks.h"

// What the table shows of a hand from its announcement to the next deal:
// both hands marked in their melds, each hand's deadwood beside it, and
// the hand's sum in one line.
struct HandEndView {
  std::string Line;
  std::array<std::string, 2> Deadwood;  // by seat
  CardMarks Marks{};
};

// Nothing while the hand is being played or before its announcement lays
// the computer's hand open.
std::optional<HandEndView> HandEndOnTable(const NxDeck& deck, const GameState& state);
