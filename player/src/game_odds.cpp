#include "player/game_odds.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

#include "game/score_record.h"
#include "game/seats.h"

namespace {

// The points a winning hand scores, as a rough share of how hands end: most
// knocks win a few to twenty points, undercuts and gins bring the box of
// 25 and more. Only the shape matters; the search compares chances.
struct HandPoints {
  uint32_t Points;
  double Share;
};
constexpr HandPoints WINNING_HANDS[] = {{5, 0.12},  {10, 0.20}, {15, 0.18}, {20, 0.14}, {25, 0.10},
                                        {30, 0.08}, {35, 0.07}, {45, 0.06}, {60, 0.05}};

}  // namespace

GameStanding StandingOf(const ScoreRecord& record, uint32_t seat) {
  GameStanding standing;
  standing.Target = record.Target;
  if (record.NumScores > 0) {
    const ScoreRow& last = record.Row(record.NumScores - 1);
    standing.Own = seat == HUMAN_SEAT ? last.Human : last.Computer;
    standing.Other = seat == HUMAN_SEAT ? last.Computer : last.Human;
  }
  return standing;
}

const GameOdds& GameOdds::ForTarget(uint32_t target) {
  static std::mutex guard;
  static std::map<uint32_t, std::unique_ptr<GameOdds>> tables;
  const std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<GameOdds>& table = tables[target];
  if (!table) table = std::make_unique<GameOdds>(target);
  return *table;
}

// Each hand either player wins alike; a chance is the mean over the
// winner's points of the chance from the totals that hand leaves. Needs
// only shrink, so the table fills from the smallest needs up.
GameOdds::GameOdds(uint32_t target) : Target(std::max(1u, target)), Table(size_t{Target} * Target) {
  for (uint32_t own = 1; own <= Target; ++own) {
    for (uint32_t other = 1; other <= Target; ++other) {
      double chance = 0.0;
      for (const HandPoints& hand : WINNING_HANDS) {
        const double won = hand.Points >= own ? 1.0 : Chance(own - hand.Points, other);
        const double lost = hand.Points >= other ? 0.0 : Chance(own, other - hand.Points);
        chance += hand.Share * 0.5 * (won + lost);
      }
      Table[size_t{own - 1} * Target + (other - 1)] = static_cast<float>(chance);
    }
  }
}

double GameOdds::Chance(uint32_t ownNeeds, uint32_t otherNeeds) const {
  return Table[size_t{ownNeeds - 1} * Target + (otherNeeds - 1)];
}

double GameOdds::WinChance(uint32_t own, uint32_t other) const {
  if (own >= Target) return 1.0;
  if (other >= Target) return 0.0;
  return Chance(Target - own, Target - other);
}

double GameOdds::AfterHand(const GameStanding& standing, double points) const {
  const uint32_t swing = static_cast<uint32_t>(std::lround(std::fabs(points)));
  if (points > 0) return WinChance(standing.Own + swing, standing.Other);
  return WinChance(standing.Own, standing.Other + swing);
}
