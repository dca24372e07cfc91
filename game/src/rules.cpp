#include "game/rules.h"

#include <algorithm>

#include "game/card_id.h"
#include "game/score_iterators.h"
#include "game/seats.h"
#include "neural/check.h"

const char* VariationCaption(uint32_t variation) {
  switch (variation) {
    case SIMPLE_GIN: return "Simple (requires Gin to knock)";
    case STANDARD_GIN: return "Standard (max. knock score is 10)";
    case OKLAHOMA_GIN: return "Oklahoma (first upcard determines max. knock score)";
    default: return "";
  }
}

bool IsValidGameTarget(uint32_t target) {
  return std::find(std::begin(GAME_TARGETS), std::end(GAME_TARGETS), target) != std::end(GAME_TARGETS);
}

uint32_t KnockLimit(uint32_t variation, bool aceRequiresGin, uint32_t firstUpcard) {
  if (variation == SIMPLE_GIN) return 0;
  // Without an upcard an Oklahoma hand cannot be limited by it; the
  // standard limit is the sound fallback.
  if (variation != OKLAHOMA_GIN || !IsCard(firstUpcard)) return STANDARD_KNOCK_LIMIT;
  const uint32_t rankNumber = RankOf(firstUpcard) + 1;
  if (rankNumber == 1 && aceRequiresGin) return 0;
  return std::min(rankNumber, STANDARD_KNOCK_LIMIT);
}

bool IsLegalKnock(int32_t knockerDeadwood, uint32_t limit) {
  return knockerDeadwood >= 0 && static_cast<uint32_t>(knockerDeadwood) <= limit;
}

NetChoice NetworkChoice(uint32_t variation, uint32_t limit) {
  if (variation == SIMPLE_GIN) return LOW_NET;
  if (variation == STANDARD_GIN) return HIGH_NET;
  return limit < 7 ? LOW_NET : HIGH_NET;
}

HandResult ScoreKnock(uint32_t knocker, int32_t knockerDeadwood, int32_t defenderDeadwood) {
  NX_CHECK(knocker < 2);
  HandResult result;
  if (knockerDeadwood == 0) {
    result.Winner = knocker;
    result.Difference = defenderDeadwood;
    result.Points = defenderDeadwood + GIN_BONUS;
    result.Gin = true;
  } else if (knockerDeadwood < defenderDeadwood) {
    result.Winner = knocker;
    result.Difference = defenderDeadwood - knockerDeadwood;
    result.Points = result.Difference;
  } else {
    result.Winner = OtherSeat(knocker);
    result.Difference = knockerDeadwood - defenderDeadwood;
    result.Points = result.Difference + UNDERCUT_BONUS;
    result.Undercut = true;
  }
  return result;
}

namespace {
// The points of the defender's own cards left unmatched in the score.
int32_t DefenderDeadwood(const NxHandScore& score, const unsigned* cards, unsigned numCards) {
  int32_t points = 0;
  NxScoreUnmatchedIterator deadwood(score);
  while (deadwood.HasMore()) {
    unsigned card = deadwood.Next();
    if (card < NUM_CARDS && std::find(cards, cards + numCards, card) != cards + numCards)
      points += CardPoints[RankOf(card)];
  }
  return points;
}
}  // namespace

HandResult ScoreHand(uint32_t knocker, const NxHandScore& knockerScore, const unsigned* defenderCards,
                     unsigned numDefenderCards, LaidOffList* laidOff) {
  const int32_t knockerDeadwood = knockerScore.BestDeadwood();
  if (knockerDeadwood == 0) {
    NxHandScore defender(defenderCards, numDefenderCards);
    return ScoreKnock(knocker, 0, defender.BestDeadwood());
  }
  NxHandScore defender(defenderCards, numDefenderCards, &knockerScore);
  if (laidOff) {
    LaidOffList found = FindLaidOffCards(defender, knockerScore, defenderCards, numDefenderCards, PileOf(OtherSeat(knocker)));
    if (found.Count > 0) *laidOff = found;
  }
  return ScoreKnock(knocker, knockerDeadwood, DefenderDeadwood(defender, defenderCards, numDefenderCards));
}
