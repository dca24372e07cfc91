#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/headless_presentation.h"
#include "player/computer_play.h"
#include "player/seat_player.h"
#include "player/table_objects.h"

struct MatchOptions {
  uint32_t Variation = STANDARD_GIN;
  uint32_t Target = 100;
  bool ElevenTenDeal = false;
  uint32_t Level = 0;  // the computer seat's internal level
  int32_t Seed = 1;
  // Whether the computer seat learns from the hands as it does in play.
  bool Learn = false;
};

// Totals of a match, seat 0 the human seat, seat 1 the computer.
struct MatchStats {
  uint64_t Games = 0;
  uint64_t GamesWon[3] = {0, 0, 0};  // human, computer, tied
  uint64_t Hands = 0;
  uint64_t HandsWon[2] = {0, 0};
  uint64_t Points[2] = {0, 0};
  uint64_t Gins[2] = {0, 0};
  uint64_t Undercuts[2] = {0, 0};
  uint64_t Ties = 0;
  uint64_t Abandoned = 0;  // games stopped in a hand that never ended
};

// Whole games through the flow the window drives: the human seat played by
// a SeatPlayer, the computer seat by the computer player with the networks
// of the current data paths.
class ArenaMatch {
 public:
  static constexpr uint32_t MAX_HAND_STEPS = 2000;
  // makeHuman creates the human seat's player for the match's flow.
  using SeatFactory = std::function<std::unique_ptr<SeatPlayer>(GameFlow&)>;
  ArenaMatch(const MatchOptions& options, const SeatFactory& makeHuman);
  ~ArenaMatch();

  // Plays one game to its end; false (with Problem set) if the flow stalls.
  bool PlayGame(MatchStats& stats);
  const std::string& Problem() const { return ProblemText; }
  ComputerPlay& Computer() { return *Table.Computer; }
  SeatPlayer& Human() { return *HumanSeat; }
  uint32_t LastGameWinner() const { return LastWinner; }
  int32_t LastTotals(uint32_t seat) const { return LastTotal[seat]; }

 private:
  class Gate;
  void RecordHand(MatchStats& stats);

  MatchOptions Options;
  // Outlives the table that reports to it.
  HeadlessPresentation View;
  TableObjects Table;
  std::unique_ptr<SeatPlayer> HumanSeat;
  std::unique_ptr<Gate> TheGate;
  std::string ProblemText;
  uint32_t LastWinner = GAME_TIED;
  int32_t LastTotal[2] = {0, 0};
};
