#include "store/score_sheet.h"

#include <algorithm>

ScoreSheet::ScoreSheet(ScoreRecord& record, uint32_t variation) : TheRecord(record), CurrentVariation(variation) {
  AdoptRestoredRecord();
  TheRecord.BeforeNewGame = [this] { LeaveGame(); };
}

ScoreSheet::~ScoreSheet() { TheRecord.BeforeNewGame = nullptr; }

// The sheet notices changes by comparing the record with what it saw last;
// a new game that reached the same number of rows without being looked at
// would otherwise pass for the old one.
void ScoreSheet::LeaveGame() {
  CountGameEnd();
  SeenRows = 0;
  SeenOver = false;
  JustEnded = false;
}

void ScoreSheet::NewGame() {
  TheRecord.NewGame(Watching);
  Sync();
  Scroll = 0;
}

void ScoreSheet::AddHand(uint32_t winner, uint32_t points) {
  TheRecord.RecordHand(winner, points);
  Sync();
}

void ScoreSheet::SetWatching(bool watching) {
  Watching = watching;
  TheRecord.SetWatching(watching);
}

void ScoreSheet::Sync() {
  if (TheRecord.NumScores == SeenRows && TheRecord.GameOver == SeenOver) return;
  if (TheRecord.GameOver && !SeenOver) JustEnded = true;
  if (!TheRecord.GameOver) JustEnded = false;
  ScrollToLastLines();
  SeenRows = TheRecord.NumScores;
  SeenOver = TheRecord.GameOver;
}

void ScoreSheet::AdoptRestoredRecord() {
  SeenRows = TheRecord.NumScores;
  SeenOver = TheRecord.GameOver;
  JustEnded = false;
  ScrollToLastLines();
}

uint32_t ScoreSheet::ScrollRange() const {
  const uint32_t range = TheRecord.Target > 250 ? 100 : 50;
  const uint32_t beyondView = TheRecord.NumLines > VISIBLE_LINES ? TheRecord.NumLines - VISIBLE_LINES : 0;
  return std::max(range, beyondView);
}

void ScoreSheet::SetScrollPosition(int64_t position) {
  Scroll = static_cast<uint32_t>(std::clamp<int64_t>(position, 0, ScrollRange()));
}

void ScoreSheet::ScrollToLastLines() {
  SetScrollPosition(static_cast<int64_t>(TheRecord.NumLines) - VISIBLE_LINES);
}

FinalTotals ScoreSheet::DrawGameEnd() {
  Sync();
  if (!TheRecord.GameOver) return TheRecord.ComputeFinalTotals();
  FinalTotals totals = TheRecord.ApplyFinalTotals();
  if (JustEnded && !TheRecord.Watched) Stats.CountGame(CurrentVariation, totals);
  JustEnded = false;
  return totals;
}

ScoreSheetLayout ScoreSheet::DrawnLayout() {
  Sync();
  if (TheRecord.GameOver) DrawGameEnd();
  return LayOutScoreSheet(TheRecord);
}
