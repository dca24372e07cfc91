#include "game/hand_figures.h"

#include "game/deadwood.h"
#include "game/game_state.h"
#include "game/move_history.h"
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

HandFigures FiguresOfHand(const NxDeck& deck, const GameState& s) {
  const uint32_t knocker = s.Undercut ? OtherSeat(s.Dealer) : s.Dealer;
  const int32_t knockerDeadwood = LeastDeadwood(deck.PileMask(PileOf(knocker)));
  const int32_t defenderDeadwood = s.Gin        ? s.Difference
                                   : s.Undercut ? knockerDeadwood - s.Difference
                                                : knockerDeadwood + s.Difference;
  HandFigures figures;
  figures.HumanDeadwood = knocker == HUMAN_SEAT ? knockerDeadwood : defenderDeadwood;
  figures.ComputerDeadwood = knocker == COMPUTER_SEAT ? knockerDeadwood : defenderDeadwood;
  figures.Winner = s.Dealer;
  figures.Gin = s.Gin;
  figures.Undercut = s.Undercut;
  figures.Points = s.Points;
  return figures;
}

namespace {

// "7♥", "7♥ and 8♥", "6♥, 7♥ and 8♥".
std::string CardList(const LaidOffList& laidOff) {
  std::string list;
  for (uint32_t i = 0; i < laidOff.Count; ++i) {
    if (i > 0) list += i + 1 == laidOff.Count ? ResourceString(END_LIST_AND) : ", ";
    list += CardText(laidOff.Cards[i]);
  }
  return list;
}

}  // namespace

std::string HandEndLine(const HandFigures& f, const LaidOffList& laidOff) {
  const bool humanKnocked = (f.Winner == HUMAN_SEAT) != f.Undercut;
  const int32_t knocker = humanKnocked ? f.HumanDeadwood : f.ComputerDeadwood;
  const int32_t defender = humanKnocked ? f.ComputerDeadwood : f.HumanDeadwood;
  std::string line;
  if (f.Gin)
    line = ResourceString(humanKnocked ? END_YOU_GIN : END_COMPUTER_GIN);
  else
    line = FillIn(ResourceString(humanKnocked ? END_YOU_KNOCK : END_COMPUTER_KNOCKS), std::to_string(knocker));
  const bool laidOffAny = !f.Gin && laidOff.Count > 0;
  if (laidOffAny)
    line += FillIn(ResourceString(humanKnocked ? END_COMPUTER_LAYS_OFF : END_YOU_LAY_OFF), CardList(laidOff),
                   std::to_string(defender));
  else
    line += FillIn(ResourceString(humanKnocked ? END_COMPUTER_KEEPS : END_YOU_KEEP), std::to_string(defender));
  if (f.Undercut) line += ResourceString(humanKnocked ? END_COMPUTER_UNDERCUTS : END_YOU_UNDERCUT);
  return line + " " + ResourceString(f.Winner == HUMAN_SEAT ? FIGURES_YOU_SCORE : FIGURES_COMPUTER_SCORES) +
         PointsSum(f) + ".";
}

std::string TieLine(int32_t humanDeadwood, int32_t computerDeadwood) {
  return FillIn(ResourceString(END_NOBODY_SCORES), std::to_string(humanDeadwood), std::to_string(computerDeadwood));
}

std::string HandDeadwoodText(int32_t deadwood) {
  return FillIn(ResourceString(END_HAND_DEADWOOD), std::to_string(deadwood));
}
