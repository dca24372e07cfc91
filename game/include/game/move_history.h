#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What each player did in the hand so far, in words, so that a person can
// follow the computer's moves: "Computer took 7♥ from the discard pile and
// discarded K♣." A take and the discard after it make one line; a pass is a
// line of its own, and so is the first discard of an Eleven/Ten hand.
class MoveHistory {
 public:
  void Clear() { Moves.clear(); }
  // `card` is NoCard for a card from the stock: its face stays hidden.
  void Took(uint32_t player, uint32_t card);
  void Passed(uint32_t player);
  void Discarded(uint32_t player, uint32_t card, bool knocked);

  // The hand's moves, oldest first.
  std::vector<std::string> Lines() const;
  // The computer's latest move; empty before it moved in this hand.
  std::string LastComputerMove() const;
  // The cards a player took from the discard pile in this hand, in order.
  std::vector<uint32_t> TakenFromDiscards(uint32_t player) const;
  // The cards a player discarded in this hand, the knock card too, in order.
  std::vector<uint32_t> Discards(uint32_t player) const;

 private:
  struct Move {
    uint32_t Player = 0;
    bool Passed = false;
    bool Took = false;
    uint32_t TakenCard = 0;  // NoCard for the stock
    bool Discarded = false;
    uint32_t DiscardedCard = 0;
    bool Knocked = false;
  };
  static std::string Text(const Move& move);
  // The move a discard completes: the player's take when it is the latest
  // move and still open, otherwise a new one.
  Move& OpenMove(uint32_t player);

  std::vector<Move> Moves;
};

// A card as the table names it: its rank text and suit sign ("10♦").
std::string CardText(uint32_t card);
