#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/game_state.h"
#include "player/game_odds.h"
#include "player/master_belief.h"
#include "player/master_rollout.h"
#include "player/seat_player.h"

// How much a decision may cost: worlds to play each candidate in, and
// optionally a time after which the search settles for what it has.
struct MasterBudget {
  static constexpr uint32_t DEFAULT_SAMPLES = 400;
  uint32_t Samples = DEFAULT_SAMPLES;
  uint32_t ThinkMs = 0;  // 0: no time limit, so the decision depends on the seed alone
};

// One decision of a seat, searched: every candidate move (take the upcard,
// pass, draw; each discard, each knock) is played on in the same sampled
// worlds, hands for the other player drawn to fit what the seat knows, and
// the move that gives the seat the best chance to win the game on average
// wins. Runs in slices so that a window can interleave it with
// its events.
class MasterSearch {
 public:
  // Worlds played per slice: a slice stays well under ten milliseconds.
  static constexpr uint32_t WORLDS_PER_STEP = 4;
  // How many standard errors a move must gain over the baseline move
  // before the search trusts it: the worlds are few, and a move chosen
  // for luck in them costs more than it wins.
  static constexpr double CONFIDENCE = 1.5;

  // advice: the move to keep unless another clearly beats it (by default
  // the quick rule's).
  MasterSearch(const MasterBelief& belief, const GameState& state, const GameStanding& standing,
               const MasterBudget& budget, uint64_t seed, const SeatMove* advice = nullptr);

  // Plays one slice of worlds; true once the decision is made.
  bool Step();
  // Stops at once; Decision() then gives the best move found so far.
  void Abort() { Aborted = true; }
  bool Done() const;
  SeatMove Decision() const;
  // Runs the slices to the end; keepGoing, when given, runs between them
  // (a window handles its events there) and false stops the search with
  // the best move found so far.
  SeatMove Decide(const std::function<bool()>& keepGoing = {});

  uint32_t Worlds() const { return Played; }
  size_t CandidateCount() const { return Candidates.size(); }
  // The mean points for the seat of a candidate so far.
  double MeanPoints(size_t candidate) const;
  // In how many worlds so far the candidate lost the hand.
  uint32_t LossCount(size_t candidate) const { return Candidates[candidate].Losses; }
  const SeatMove& CandidateMove(size_t candidate) const { return Candidates[candidate].Move; }

 private:
  struct Candidate {
    SeatMove Move;
    uint32_t Card = NoCard;  // the discard, for DISCARD and KNOCK
    double Total = 0.0;
    // Chance to win the game against the baseline move (candidate 0),
    // world by world.
    double Gain = 0.0;
    double GainSquares = 0.0;
    uint32_t Losses = 0;
  };
  void AddCandidates(const GameState& state);
  // Puts the move the quick rule would make first.
  void RuleMoveFirst(uint32_t ruleCard, bool ruleKnocks, SeatMove::Kind ruleTake);
  void AdviceFirst(const SeatMove& advice);
  // A world whose other hand is the least deadwood of a few draws.
  void SampleWorld(MasterWorld& world);
  // One world drawn to fit what the seat knows.
  void DrawWorld(MasterWorld& world);
  double Play(const Candidate& candidate, const MasterWorld& start) const;
  uint64_t Next();
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  uint32_t PositionOf(uint32_t card) const;

  std::vector<uint32_t> Own;
  uint64_t OwnHand = 0;
  uint32_t Top = NoCard;
  uint32_t Keep = NoCard;
  OfferStage Offer = NORMAL_PLAY;
  bool StockRunOut = false;
  uint32_t Unknown = 0;  // cards of the other hand not known
  uint64_t OtherKnown = 0;
  std::vector<uint32_t> Pool;
  std::vector<double> PoolWeight;
  uint32_t ExtraDraws = 0;  // draws of the other hand beyond the first
  MasterRollout Rollout;
  GameStanding Standing;
  const GameOdds& Odds;
  std::vector<Candidate> Candidates;
  MasterBudget Budget;
  uint64_t RandomState;
  uint32_t Played = 0;
  bool Aborted = false;
  bool OutOfTime = false;
  std::chrono::steady_clock::time_point Started;
};
