#pragma once

#include <cstdint>
#include <vector>

class ScoreRecord;

// Where a game stands for one seat: both running totals and the target.
struct GameStanding {
  uint32_t Own = 0;
  uint32_t Other = 0;
  uint32_t Target = 100;
};

// The totals of the game `record` keeps, seen from `seat`.
GameStanding StandingOf(const ScoreRecord& record, uint32_t seat);

// The chance that a seat wins the game from given totals, for two players
// of equal strength whose winning hands score as hands of Gin usually do.
// What counts in the end is who reaches the target first, not the points
// on the way: a small win that ends the game beats a gin that does not,
// and a player far ahead gives up points to take no risk.
class GameOdds {
 public:
  // The table for a target, made once and kept.
  static const GameOdds& ForTarget(uint32_t target);

  explicit GameOdds(uint32_t target);

  // The seat's chance after a hand that left these totals; the next hand
  // starts from them.
  double WinChance(uint32_t own, uint32_t other) const;
  // The seat's chance after a hand worth `points` to it (negative: the
  // other player scored them) from where the game stands now.
  double AfterHand(const GameStanding& standing, double points) const;

 private:
  // By the points each player still needs, 1 to Target.
  double Chance(uint32_t ownNeeds, uint32_t otherNeeds) const;

  uint32_t Target;
  std::vector<float> Table;
};
