#pragma once

#include <cstdint>

#include "game/score_record.h"
#include "store/statistics.h"

// What the score sheet keeps besides its drawing: the record of the game,
// the statistics, the variation they are counted for, the watching flag,
// the scroll position and whether the end of the game is still to be
// counted. The flow records hands into the record directly; the sheet
// notices new rows and the end of the game when it next looks.
class ScoreSheet {
 public:
  static constexpr uint32_t VISIBLE_LINES = 9;

  ScoreSheet(ScoreRecord& record, uint32_t variation);

  ScoreRecord& Record() { return TheRecord; }
  const ScoreRecord& Record() const { return TheRecord; }
  uint32_t Variation() const { return CurrentVariation; }
  void SetVariation(uint32_t variation) { CurrentVariation = variation; }
  // The record's target, and the scroll range that goes with it.
  void SetTarget(uint32_t target) { TheRecord.Target = target; }
  uint32_t ScrollRange() const { return TheRecord.Target > 250 ? 100 : 50; }
  uint32_t ScrollPosition() const { return Scroll; }

  void NewGame();
  void AddHand(uint32_t winner, uint32_t points);
  // Turning watching on marks the current game as watched for good.
  void SetWatching(bool watching);
  bool IsWatching() const { return Watching; }

  // Catches up with rows the flow recorded since the last look.
  void Sync();
  // A record just read from a resume file: its end, if any, was counted
  // before it was saved.
  void AdoptRestoredRecord();
  bool GameJustEnded() const { return JustEnded; }

  // The end of the game as the sheet first draws it: the final totals
  // become the record's game winner, and the first time only the winner's
  // statistics change (never for a watched game).
  FinalTotals DrawGameEnd();

  Statistics Stats;

 private:
  ScoreRecord& TheRecord;
  uint32_t CurrentVariation;
  bool Watching = false;
  bool JustEnded = false;
  uint32_t SeenRows = 0;
  bool SeenOver = false;
  uint32_t Scroll = 0;
};
