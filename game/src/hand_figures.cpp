#include "game/hand_figures.h"

#include "game/rules.h"
#include "game/seats.h"
#include "game/string_table.h"
#include "game/text_ids.h"

namespace {

const char* const MINUS = " \u2212 ";

// How the winner's points come from the two deadwood counts.
std::string PointsSum(const HandFigures& f) {
  // An undercut is won by the defender; every other hand by the knocker.
  const bool humanKnocked = (f.Winner == HUMAN_SEAT) != f.Undercut;
  const int32_t knocker = humanKnocked ? f.HumanDeadwood : f.ComputerDeadwood;
  const int32_t defender = humanKnocked ? f.ComputerDeadwood : f.HumanDeadwood;
  std::string sum;
  if (f.Gin)
    sum = std::to_string(defender) + " + " + std::to_string(GIN_BONUS);
  else if (f.Undercut)
    sum = std::to_string(knocker) + MINUS + std::to_string(defender) + " + " + std::to_string(UNDERCUT_BONUS);
  else
    sum = std::to_string(defender) + MINUS + std::to_string(knocker);
  return sum + " = " + std::to_string(f.Points);
}

}  // namespace

std::string RefusedKnockFigures(int32_t deadwood, uint32_t knockLimit) {
  return ResourceString(FIGURES_YOUR_DEADWOOD) + std::to_string(deadwood) + ResourceString(FIGURES_KNOCK_LIMIT) +
         std::to_string(knockLimit) + ".";
}

std::string HandResultFigures(const HandFigures& f) {
  return ResourceString(FIGURES_YOUR_DEADWOOD) + std::to_string(f.HumanDeadwood) +
         ResourceString(FIGURES_COMPUTER_DEADWOOD) + std::to_string(f.ComputerDeadwood) + ".\n" +
         ResourceString(f.Winner == 0 ? FIGURES_YOU_SCORE : FIGURES_COMPUTER_SCORES) + PointsSum(f) + ".";
}
