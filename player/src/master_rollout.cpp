#include "player/master_rollout.h"

#include "game/deadwood.h"
#include "game/hand_score.h"
#include "game/rules.h"
#include "game/seats.h"

namespace {


int32_t Points(uint32_t card) { return CardPoints[RankOf(card)]; }

uint32_t Cards(uint64_t hand, unsigned* cards) {
  uint32_t n = 0;
  for (; hand; hand &= hand - 1) cards[n++] = static_cast<unsigned>(__builtin_ctzll(hand));
  return n;
}

}  // namespace

int32_t MasterRollout::KnockPoints(uint32_t knocker, uint64_t knockerHand, uint64_t defenderHand) {
  unsigned own[NUM_CARDS], other[NUM_CARDS];
  const uint32_t n = Cards(knockerHand, own);
  const uint32_t m = Cards(defenderHand, other);
  HandResult result;
  if (LeastDeadwood(knockerHand) == 0) {
    // No layoffs on a gin: the meld search is not needed.
    result = ScoreKnock(knocker, 0, LeastDeadwood(defenderHand));
  } else {
    NxHandScore score(own, n);
    result = ScoreHand(knocker, score, other, m);
  }
  return result.Winner == HUMAN_SEAT ? result.Points : -result.Points;
}

uint32_t MasterRollout::BestDiscard(uint64_t hand, uint32_t keep, int32_t& deadwood) {
  uint32_t best = NoCard;
  deadwood = INT32_MAX;
  const uint64_t meldable = MeldableCards(hand);
  const int32_t whole = LeastDeadwood(hand);
  for (uint64_t rest = hand; rest; rest &= rest - 1) {
    const uint32_t card = static_cast<uint32_t>(__builtin_ctzll(rest));
    if (card == keep) continue;
    const int32_t left = meldable & CardBit(card) ? LeastDeadwood(hand & ~CardBit(card)) : whole - Points(card);
    if (left < deadwood || (left == deadwood && Points(card) > Points(best))) deadwood = left, best = card;
  }
  return best;
}

bool MasterRollout::WantsUpcard(uint64_t hand, uint32_t upcard) const {
  if (!IsCard(upcard)) return false;
  int32_t after;
  const uint32_t drop = BestDiscard(hand | CardBit(upcard), upcard, after);
  if (after <= static_cast<int32_t>(Limit)) return true;
  const uint64_t kept = (hand | CardBit(upcard)) & ~CardBit(drop);
  // The upcard melds when leaving it out would cost more than its points.
  return LeastDeadwood(kept & ~CardBit(upcard)) + Points(upcard) > after && after < LeastDeadwood(hand);
}

uint32_t MasterRollout::Take(MasterWorld& world, uint32_t mover, bool upcardAllowed) const {
  if (upcardAllowed && WantsUpcard(world.Hand[mover], world.Top)) {
    const uint32_t card = world.Top;
    world.Hand[mover] |= CardBit(card);
    world.Top = NoCard;
    return card;
  }
  if (world.StockLeft == 0) return NoCard;
  world.Hand[mover] |= CardBit(world.Stock[--world.StockLeft]);
  if (world.StockLeft < 3) world.Exhausted = true;
  return NoCard;
}

bool MasterRollout::Discard(MasterWorld& world, uint32_t mover, uint32_t taken, double& points) const {
  int32_t deadwood;
  const uint32_t drop = BestDiscard(world.Hand[mover], taken, deadwood);
  world.Hand[mover] &= ~CardBit(drop);
  world.Top = drop;
  if (IsLegalKnock(deadwood, Limit)) {
    points = KnockPoints(mover, world.Hand[mover], world.Hand[1 - mover]);
    return true;
  }
  if (world.Exhausted) {
    points = 0.0;
    return true;
  }
  return false;
}

double MasterRollout::PlayOut(MasterWorld& world, uint32_t mover) const {
  double points = 0.0;
  for (uint32_t turn = 0; turn < MAX_TURNS; ++turn, mover = 1 - mover) {
    const uint32_t taken = Take(world, mover, true);
    if (!IsCard(taken) && world.StockLeft == 0 && !world.Exhausted) return 0.0;
    if (Discard(world, mover, taken, points)) return points;
  }
  return 0.0;
}
