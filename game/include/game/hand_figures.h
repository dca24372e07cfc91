#pragma once

#include <cstdint>
#include <string>

#include "game/deck.h"
#include "game/layoffs.h"

struct GameState;

// The figures behind a knock's result, added below the result's own text so
// that a player can check the count: each side's deadwood and how the
// winner's points are made up.

// "Your deadwood: 14.  Maximum knock score: 10."
std::string RefusedKnockFigures(int32_t deadwood, uint32_t knockLimit);

struct HandFigures {
  int32_t HumanDeadwood = 0;     // after layoffs when the human defended
  int32_t ComputerDeadwood = 0;  // after layoffs when the computer defended
  uint32_t Winner = 0;           // 0 the human, 1 the computer
  bool Gin = false;
  bool Undercut = false;
  int32_t Points = 0;
};

// Two lines, e.g. "Your deadwood: 9.  Computer's deadwood: 28." and
// "You score 28 − 9 = 19."; the sum shows the gin or undercut bonus.
std::string HandResultFigures(const HandFigures& figures);

// The figures of the hand that just ended by a knock or gin. The knocker's
// deadwood is counted again from its cards, since a game resumed at the
// end of a hand has the cards and the result but not the scores; the
// defender's follows from the result.
HandFigures FiguresOfHand(const NxDeck& deck, const GameState& state);

// The hand's result as it stands on the table until the next deal, e.g.
// "Computer knocks with 4. You lay off 7♥ and keep 9. Computer scores
// 9 − 4 = 5."; `laidOff` names the defender's cards laid off.
std::string HandEndLine(const HandFigures& figures, const LaidOffList& laidOff);
// The stock ran out: "Nobody scores: you keep 12, Computer keeps 30."
std::string TieLine(int32_t humanDeadwood, int32_t computerDeadwood);
// "Deadwood: 9", beside a hand laid open.
std::string HandDeadwoodText(int32_t deadwood);
