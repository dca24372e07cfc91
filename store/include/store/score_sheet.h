#pragma once

#include <cstdint>

#include "game/score_record.h"
#include "store/score_sheet_layout.h"
#include "store/statistics.h"

// What the score sheet keeps besides its drawing: the record of the game,
// the statistics, the variation they are counted for, the watching flag,
// the scroll position and whether the end of the game is still to be
// counted. The flow records hands into the record directly; the sheet
// notices new rows and the end of the game when it next looks.
class ScoreSheet {
 public:
  static constexpr uint32_t VISIBLE_LINES = 9;

  // The sheet counts a finished game before the record clears it for the
  // next one, so it must not outlive the record.
  ScoreSheet(ScoreRecord& record, uint32_t variation);
  ~ScoreSheet();
  ScoreSheet(const ScoreSheet&) = delete;
  ScoreSheet& operator=(const ScoreSheet&) = delete;

  ScoreRecord& Record() { return TheRecord; }
  const ScoreRecord& Record() const { return TheRecord; }
  uint32_t Variation() const { return CurrentVariation; }
  void SetVariation(uint32_t variation) { CurrentVariation = variation; }
  // The record's target, and the scroll range that goes with it: 50 lines,
  // 100 for the long games; more when a game runs past it, so that no row
  // is ever out of reach.
  void SetTarget(uint32_t target) { TheRecord.Target = target; }
  uint32_t ScrollRange() const;
  // The first line shown, in lines.
  uint32_t ScrollPosition() const { return Scroll; }
  // Clamped to 0..ScrollRange().
  void SetScrollPosition(int64_t position);

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
  // Counts a finished game that no drawing has counted yet: the table can
  // close, switch configuration, resume another game or start a new one
  // between the knock that ends a game and its announcement.
  void CountGameEnd() { DrawGameEnd(); }
  // The lines the window draws now. A finished game's end is drawn through
  // DrawGameEnd, so the first look at it counts it.
  ScoreSheetLayout DrawnLayout();

  Statistics Stats;

 private:
  ScoreRecord& TheRecord;
  uint32_t CurrentVariation;
  bool Watching = false;
  bool JustEnded = false;
  uint32_t SeenRows = 0;
  bool SeenOver = false;
  uint32_t Scroll = 0;

  void ScrollToLastLines();
  void LeaveGame();
};
