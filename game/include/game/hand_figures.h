#pragma once

#include <cstdint>
#include <string>

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
