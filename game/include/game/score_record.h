#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// One row per won hand: both running totals and the hand's winner.
struct ScoreRow {
  uint32_t Human = 0;
  uint32_t Computer = 0;
  uint32_t Winner = 0;
};

constexpr uint32_t SCORE_ROW_GROWTH = 20;
constexpr uint32_t GAME_TIED = 2;

struct FinalTotals {
  int32_t Total[2] = {0, 0};  // human, computer
  uint32_t Result = GAME_TIED;  // 0 human wins, 1 computer wins, 2 tie
  int32_t Margin = 0;           // winner's total minus loser's; 0 for a tie
};

// The running record of one game. Drawing and streaming belong to the
// score sheet; the arithmetic lives here.
class ScoreRecord {
 public:
  explicit ScoreRecord(uint32_t target);

  // Clears the record for a new game.
  void NewGame(bool watching);
  void SetWatching(bool watching);

  // Appends the hand and returns whether the game is over. A game that is
  // over takes no more rows (the call is ignored and returns true).
  bool RecordHand(uint32_t winner, uint32_t points);

  // The end-of-game arithmetic; meaningful once the game is over.
  FinalTotals ComputeFinalTotals() const;
  // Computes the totals and makes their result the game winner.
  FinalTotals ApplyFinalTotals();

  const ScoreRow& Row(uint32_t index) const;

  std::unique_ptr<ScoreRow[]> Records;
  uint32_t RecordsSize = 0;
  uint32_t NumScores = 0;
  uint32_t NumLines = 0;
  uint32_t Target;
  uint32_t GameWinner = 0;
  uint32_t HandsWon[2] = {0, 0};
  bool GameOver = false;
  bool Shutout = false;
  bool Watched = false;

  // Runs before a new game clears the record: whoever counts finished
  // games must see every end, even one the next game replaced before it
  // was ever shown.
  std::function<void()> BeforeNewGame;

 private:
  void Grow();
};
