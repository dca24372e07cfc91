#include "store/score_sheet.h"

ScoreSheet::ScoreSheet(ScoreRecord& record, uint32_t variation) : TheRecord(record), CurrentVariation(variation) {
  AdoptRestoredRecord();
}

void ScoreSheet::NewGame() {
  TheRecord.NewGame(Watching);
  Sync();
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
  Scroll = TheRecord.NumLines > VISIBLE_LINES ? TheRecord.NumLines - VISIBLE_LINES : 0;
  SeenRows = TheRecord.NumScores;
  SeenOver = TheRecord.GameOver;
}

void ScoreSheet::AdoptRestoredRecord() {
  SeenRows = TheRecord.NumScores;
  SeenOver = TheRecord.GameOver;
  JustEnded = false;
  Scroll = TheRecord.NumLines > VISIBLE_LINES ? TheRecord.NumLines - VISIBLE_LINES : 0;
}

FinalTotals ScoreSheet::DrawGameEnd() {
  Sync();
  if (!TheRecord.GameOver) return TheRecord.ComputeFinalTotals();
  FinalTotals totals = TheRecord.ApplyFinalTotals();
  if (JustEnded && !TheRecord.Watched) Stats.CountGame(CurrentVariation, totals);
  JustEnded = false;
  return totals;
}
