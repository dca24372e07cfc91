#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/game_flow.h"
#include "player/master_search.h"

// What Master would do in the person's place now: the table command (take
// the upcard or the stock card, pass, discard or knock), for a discard or a
// knock the hand position of the card, and why.
struct Hint {
  uint32_t Command = 0;
  uint32_t Position = 0;
  // One short sentence from the search's figures; empty without a search.
  std::string Reason;
};

// The advice comes from players of its own, seated in the person's place,
// that know what the person knows: the hand, the discard pile and what the
// computer took from it and threw. The top level's networks of `dataFile`
// (never written) choose first; Master's search with `budget` keeps that
// choice unless another move clearly beats it (Samples 0: no search).
// Nothing of the table changes and the computer's networks learn nothing
// from it. Nothing while it is not the person's move. keepGoing runs
// between the search's slices; false cuts it short.
std::optional<Hint> AdviseHuman(GameFlow& flow, const std::string& dataFile, const MasterBudget& budget = {},
                                const std::function<bool()>& keepGoing = {});

// "Hint: discard Q♣." and the like, followed by the reason.
std::string HintText(const Hint& hint, const NxDeck& deck);
