#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "player/computer_decider.h"
#include "player/decision_times.h"
#include "player/master_belief.h"
#include "player/master_search.h"
#include "player/net_player.h"
#include "player/seat_player.h"

// Master, the fifth level: what its seat knows, kept over the hand, and a
// search for every decision. It plays the human seat as a SeatPlayer; the
// computer seat takes it through MasterDecider.
class MasterPlayer : public SeatPlayer {
 public:
  explicit MasterPlayer(uint32_t seat = HUMAN_PILE, const MasterBudget& budget = {}, uint64_t seed = 1);

  const char* Name() const override { return "master"; }
  bool Move(GameFlow& flow) override {
    return MakeSeatMove(flow, Choose(flow.State(), flow.Deck(), StandingOf(flow.Record(), Seat)));
  }
  void StartHand(GameFlow& flow) override { StartHand(flow.State(), flow.Deck()); }

  void StartHand(const GameState& state, const NxDeck& deck) { Belief.StartHand(state, deck); }
  // Takes in what the seat sees now and prepares the search of its
  // decision, to be run in slices; Choose runs it to the end and times it.
  // advice: the move the search keeps unless another clearly beats it
  // (nullptr: the quick rule's).
  MasterSearch Begin(const GameState& state, const NxDeck& deck, const GameStanding& standing,
                     const SeatMove* advice = nullptr);
  // keepGoing runs between slices (a window handles its events there);
  // false stops the search with the best move found so far.
  SeatMove Choose(const GameState& state, const NxDeck& deck, const GameStanding& standing,
                  const SeatMove* advice = nullptr,
                  const std::function<bool()>& keepGoing = {});

  const MasterBelief& Knowledge() const { return Belief; }
  const DecisionTimes& Times() const { return TimesTaken; }

 private:
  uint32_t Seat;
  MasterBelief Belief;
  MasterBudget Budget;
  uint64_t Seed;
  uint64_t Decisions = 0;
  DecisionTimes TimesTaken;
};

// Master in the human seat, searching against the choice of the top
// level's player (networks of level 3 read from `dataFile`): the move to
// beat is the one the shown level 4 would make.
class AdvisedMaster : public SeatPlayer {
 public:
  AdvisedMaster(GameFlow& flow, const std::string& dataFile, const MasterBudget& budget = {}, uint64_t seed = 1);

  const char* Name() const override { return "master"; }
  bool Move(GameFlow& flow) override;
  void StartHand(GameFlow& flow) override;
  const MasterPlayer& Master() const { return Player; }

 private:
  NetPlayer Adviser;
  MasterPlayer Player;
};

// Master's decisions for the computer seat's player. Between the slices of
// its search the table's window handles its events; an abort, a close
// request or a command that replaces the hand stops the search at once.
class MasterDecider : public ComputerDecider {
 public:
  explicit MasterDecider(const MasterBudget& budget = {}, uint64_t seed = 1) : Player(COMPUTER_PILE, budget, seed) {}
  // The player Master decides for, asked what it would do itself: its
  // choice becomes the move to beat (nullptr: the quick rule's).
  void TakeAdviceFrom(ComputerPlay* adviser) { Adviser = adviser; }
  void StartHand(GinTable& table) override { Player.StartHand(table.State(), table.Deck()); }
  bool TakesUpcard(GinTable& table) override;
  Discard ChooseDiscard(GinTable& table) override;
  const MasterPlayer& Master() const { return Player; }

 private:
  SeatMove Think(GinTable& table, const SeatMove* advice);

  MasterPlayer Player;
  ComputerPlay* Adviser = nullptr;
};
