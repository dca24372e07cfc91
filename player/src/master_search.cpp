#include "player/master_search.h"

#include <algorithm>
#include <cmath>

#include "game/deadwood.h"
#include "game/rules.h"

namespace {


// Discards kept for the search beyond the knocks: the rest leave more
// deadwood than any of these and are never worth a rollout.
constexpr size_t DISCARDS_SEARCHED = 4;

// A hand played for a while is better than one dealt at random: its holder
// kept the best of what it saw. So the other hand is drawn once more for
// every few cards taken from the stock so far and the draw with the least
// deadwood is kept; at this rate the drawn hands' deadwood matched the real
// hands' on average all through the hand in arena matches against the top
// level, where single draws ran ten points high by mid-hand.
constexpr uint32_t STOCK_CARDS_PER_EXTRA_DRAW = 4;
constexpr uint32_t FULL_STOCK = NUM_CARDS - 21;

}  // namespace

MasterSearch::MasterSearch(const MasterBelief& belief, const GameState& state, const GameStanding& standing,
                           const MasterBudget& budget, uint64_t seed, const SeatMove* advice)
    : Own(belief.OwnCards()),
      OwnHand(belief.OwnMask()),
      Top(belief.TopCard()),
      Keep(belief.UpcardTaken()),
      Offer(state.Offer),
      StockRunOut(belief.StockCount() < 3),
      Rollout(state.KnockLimit),
      Standing(standing),
      Odds(GameOdds::ForTarget(standing.Target)),
      Budget(budget),
      RandomState(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull),
      Started(std::chrono::steady_clock::now()) {
  OtherKnown = belief.OtherHeld();
  const uint32_t known = static_cast<uint32_t>(__builtin_popcountll(OtherKnown));
  Unknown = belief.OtherCount() > known ? belief.OtherCount() - known : 0;
  for (uint64_t rest = belief.Unseen(); rest; rest &= rest - 1) {
    const uint32_t card = static_cast<uint32_t>(__builtin_ctzll(rest));
    Pool.push_back(card);
    PoolWeight.push_back(belief.Weight(card));
  }
  if (Unknown > Pool.size()) Unknown = static_cast<uint32_t>(Pool.size());
  const uint32_t drawn = FULL_STOCK - std::min(FULL_STOCK, belief.StockCount());
  ExtraDraws = Unknown > 0 ? drawn / STOCK_CARDS_PER_EXTRA_DRAW : 0;
  AddCandidates(state);
  if (advice) AdviceFirst(*advice);
}

uint64_t MasterSearch::Next() {
  // splitmix64: cheap, and the same stream for the same seed everywhere.
  uint64_t z = (RandomState += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint32_t MasterSearch::PositionOf(uint32_t card) const {
  for (uint32_t i = 0; i < Own.size(); ++i)
    if (Own[i] == card) return i;
  return 0;
}

void MasterSearch::AddCandidates(const GameState& state) {
  if (Own.size() <= 10) {
    if (UpcardMayBeTaken(Offer) && IsCard(Top)) Candidates.push_back({{SeatMove::TAKE_UPCARD}});
    if (PassAllowed(Offer)) Candidates.push_back({{SeatMove::PASS}});
    if (StockCardMayBeTaken(Offer)) Candidates.push_back({{SeatMove::TAKE_STOCK}});
    const bool wants = UpcardMayBeTaken(Offer) && IsCard(Top) && Rollout.WantsUpcard(OwnHand, Top);
    RuleMoveFirst(NoCard, false, wants ? SeatMove::TAKE_UPCARD : PassAllowed(Offer) ? SeatMove::PASS : SeatMove::TAKE_STOCK);
    return;
  }
  struct Option {
    uint32_t Card;
    int32_t Deadwood;
  };
  std::vector<Option> options;
  for (uint32_t card : Own)
    if (card != Keep) options.push_back({card, LeastDeadwood(OwnHand & ~CardBit(card))});
  std::stable_sort(options.begin(), options.end(), [](const Option& a, const Option& b) {
    if (a.Deadwood != b.Deadwood) return a.Deadwood < b.Deadwood;
    return CardPoints[RankOf(a.Card)] > CardPoints[RankOf(b.Card)];
  });
  for (size_t i = 0; i < options.size(); ++i) {
    const Option& option = options[i];
    if (IsLegalKnock(option.Deadwood, state.KnockLimit))
      Candidates.push_back({{SeatMove::KNOCK, PositionOf(option.Card)}, option.Card});
    if (i < DISCARDS_SEARCHED) Candidates.push_back({{SeatMove::DISCARD, PositionOf(option.Card)}, option.Card});
  }
  if (!options.empty())
    RuleMoveFirst(options[0].Card, IsLegalKnock(options[0].Deadwood, state.KnockLimit), SeatMove::NONE);
}

void MasterSearch::RuleMoveFirst(uint32_t ruleCard, bool ruleKnocks, SeatMove::Kind ruleTake) {
  for (size_t i = 0; i < Candidates.size(); ++i) {
    const Candidate& candidate = Candidates[i];
    const bool rule = ruleTake != SeatMove::NONE
                          ? candidate.Move.What == ruleTake
                          : candidate.Card == ruleCard &&
                                candidate.Move.What == (ruleKnocks ? SeatMove::KNOCK : SeatMove::DISCARD);
    if (rule) {
      std::rotate(Candidates.begin(), Candidates.begin() + static_cast<std::ptrdiff_t>(i),
                  Candidates.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return;
    }
  }
}

void MasterSearch::AdviceFirst(const SeatMove& advice) {
  const bool discards = advice.What == SeatMove::DISCARD || advice.What == SeatMove::KNOCK;
  if (discards && (Own.size() <= 10 || advice.Position >= Own.size() || Own[advice.Position] == Keep)) return;
  auto first = [&](SeatMove::Kind what) {
    for (size_t i = 0; i < Candidates.size(); ++i) {
      const SeatMove& move = Candidates[i].Move;
      if (move.What == what && (!discards || move.Position == advice.Position)) {
        std::rotate(Candidates.begin(), Candidates.begin() + static_cast<std::ptrdiff_t>(i),
                    Candidates.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return true;
      }
    }
    return false;
  };
  // An illegal knock is advice to throw the card.
  if (first(advice.What) || !discards || first(SeatMove::DISCARD)) return;
  // A discard the search would not have tried.
  Candidates.insert(Candidates.begin(), {{SeatMove::DISCARD, advice.Position}, Own[advice.Position]});
}

void MasterSearch::SampleWorld(MasterWorld& world) {
  DrawWorld(world);
  int32_t least = LeastDeadwood(world.Hand[1]);
  for (uint32_t k = 0; k < ExtraDraws; ++k) {
    MasterWorld again;
    DrawWorld(again);
    const int32_t deadwood = LeastDeadwood(again.Hand[1]);
    if (deadwood < least) least = deadwood, world = again;
  }
}

// The other hand: its known cards and the rest drawn one by one, each in
// proportion to its weight; the stock is what is left, shuffled.
void MasterSearch::DrawWorld(MasterWorld& world) {
  std::vector<uint32_t> pool = Pool;
  std::vector<double> weight = PoolWeight;
  world.Hand[0] = OwnHand;
  world.Hand[1] = OtherKnown;
  for (uint32_t k = 0; k < Unknown; ++k) {
    double sum = 0.0;
    for (double w : weight) sum += w;
    double pick = Uniform() * sum;
    size_t i = 0;
    while (i + 1 < pool.size() && pick >= weight[i]) pick -= weight[i++];
    world.Hand[1] |= CardBit(pool[i]);
    pool[i] = pool.back();
    weight[i] = weight.back();
    pool.pop_back();
    weight.pop_back();
  }
  for (size_t i = pool.size(); i > 1; --i) std::swap(pool[i - 1], pool[Next() % i]);
  world.StockLeft = static_cast<uint32_t>(pool.size());
  for (size_t i = 0; i < pool.size(); ++i) world.Stock[i] = static_cast<uint8_t>(pool[i]);
  world.Top = Top;
  world.Exhausted = StockRunOut;
}

double MasterSearch::Play(const Candidate& candidate, const MasterWorld& start) const {
  MasterWorld world = start;
  double points = 0.0;
  switch (candidate.Move.What) {
    case SeatMove::KNOCK:
      return MasterRollout::KnockPoints(0, world.Hand[0] & ~CardBit(candidate.Card), world.Hand[1]);
    case SeatMove::DISCARD:
      world.Hand[0] &= ~CardBit(candidate.Card);
      world.Top = candidate.Card;
      if (world.Exhausted) return 0.0;
      return Rollout.PlayOut(world, 1);
    case SeatMove::TAKE_UPCARD: {
      const uint32_t card = world.Top;
      world.Hand[0] |= CardBit(card);
      world.Top = NoCard;
      if (Rollout.Discard(world, 0, card, points)) return points;
      return Rollout.PlayOut(world, 1);
    }
    case SeatMove::TAKE_STOCK:
      Rollout.Take(world, 0, false);
      if (Rollout.Discard(world, 0, NoCard, points)) return points;
      return Rollout.PlayOut(world, 1);
    case SeatMove::PASS: {
      // First player passing: the dealer is offered the same card, and if
      // it passes too the first player must draw. The dealer passing: the
      // first player must draw.
      uint32_t mover = 1;
      if (Offer == OFFER_TO_FIRST_PLAYER && Rollout.WantsUpcard(world.Hand[1], world.Top)) {
        const uint32_t card = Rollout.Take(world, 1, true);
        if (Rollout.Discard(world, 1, card, points)) return points;
        return Rollout.PlayOut(world, 0);
      }
      if (Offer == OFFER_TO_FIRST_PLAYER) mover = 0;
      Rollout.Take(world, mover, false);
      if (Rollout.Discard(world, mover, NoCard, points)) return points;
      return Rollout.PlayOut(world, 1 - mover);
    }
    case SeatMove::NONE:
      break;
  }
  return 0.0;
}

bool MasterSearch::Done() const {
  return Aborted || OutOfTime || Candidates.size() <= 1 || Played >= std::max(1u, Budget.Samples);
}

bool MasterSearch::Step() {
  for (uint32_t i = 0; i < WORLDS_PER_STEP && !Done(); ++i) {
    MasterWorld world;
    SampleWorld(world);
    double rule = 0.0;
    for (size_t c = 0; c < Candidates.size(); ++c) {
      Candidate& candidate = Candidates[c];
      const double points = Play(candidate, world);
      const double value = Odds.AfterHand(Standing, points);
      if (c == 0) rule = value;
      candidate.Total += points;
      if (points < 0.0) ++candidate.Losses;
      candidate.Gain += value - rule;
      candidate.GainSquares += (value - rule) * (value - rule);
    }
    ++Played;
  }
  if (Budget.ThinkMs > 0 && std::chrono::steady_clock::now() - Started >= std::chrono::milliseconds(Budget.ThinkMs))
    OutOfTime = true;
  return Done();
}

double MasterSearch::MeanPoints(size_t candidate) const {
  return Played ? Candidates[candidate].Total / Played : 0.0;
}

SeatMove MasterSearch::Decision() const {
  if (Candidates.empty()) return {};
  size_t best = 0;
  double bestGain = 0.0;
  for (size_t i = 1; i < Candidates.size() && Played > 1; ++i) {
    const Candidate& candidate = Candidates[i];
    const double mean = candidate.Gain / Played;
    const double variance = std::max(0.0, candidate.GainSquares / Played - mean * mean) / (Played - 1);
    if (mean > bestGain && mean > CONFIDENCE * std::sqrt(variance)) best = i, bestGain = mean;
  }
  return Candidates[best].Move;
}

SeatMove MasterSearch::Decide(const std::function<bool()>& keepGoing) {
  while (!Step())
    if (keepGoing && !keepGoing()) Abort();
  return Decision();
}
