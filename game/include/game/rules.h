#pragma once

#include <cstdint>

#include "game/hand_score.h"
#include "game/layoffs.h"

enum GinVariation : uint32_t { SIMPLE_GIN = 0, STANDARD_GIN = 1, OKLAHOMA_GIN = 2 };

// The computer player's two networks.
enum NetChoice : uint32_t { LOW_NET = 0, HIGH_NET = 1 };

constexpr int32_t GIN_BONUS = 25;
constexpr int32_t UNDERCUT_BONUS = 25;
constexpr int32_t GAME_BONUS = 100;
constexpr int32_t BOX_BONUS = 25;
constexpr int32_t SHUTOUT_FACTOR = 2;
constexpr uint32_t STANDARD_KNOCK_LIMIT = 10;
// Ten cards never hold more deadwood than ten tens, which bounds what one
// hand can be worth.
constexpr int32_t MAX_DEADWOOD = 100;
constexpr int32_t MAX_HAND_POINTS = MAX_DEADWOOD + GIN_BONUS;

// The rule choices of the Variations dialog.
struct RuleChoices {
  uint32_t Variation = SIMPLE_GIN;
  bool AceRequiresGin = true;
  uint32_t GameTarget = 100;
};

constexpr uint32_t GAME_TARGETS[] = {100, 150, 250, 500};
const char* VariationCaption(uint32_t variation);
bool IsValidGameTarget(uint32_t target);

// The highest deadwood with which a hand may be knocked.
uint32_t KnockLimit(uint32_t variation, bool aceRequiresGin, uint32_t firstUpcard);
bool IsLegalKnock(int32_t knockerDeadwood, uint32_t limit);
NetChoice NetworkChoice(uint32_t variation, uint32_t limit);

// The outcome of a hand ended by a legal knock.
struct HandResult {
  uint32_t Winner = 0;
  int32_t Points = 0;
  int32_t Difference = 0;  // the deadwood difference behind the points
  bool Gin = false;
  bool Undercut = false;
};

// The arithmetic: defenderDeadwood is the defender's plain deadwood after a
// gin, its deadwood after layoffs otherwise.
HandResult ScoreKnock(uint32_t knocker, int32_t knockerDeadwood, int32_t defenderDeadwood);

// Scores a knock from the knocker's score and the defender's ten cards: no
// layoffs after a gin, layoffs otherwise (reported in laidOff when given
// and when there are any).
HandResult ScoreHand(uint32_t knocker, const NxHandScore& knockerScore, const unsigned* defenderCards,
                     unsigned numDefenderCards, LaidOffList* laidOff = nullptr);
