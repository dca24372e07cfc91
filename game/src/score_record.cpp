#include "game/score_record.h"

#include <algorithm>

#include "game/rules.h"
#include "game/seats.h"
#include "neural/check.h"

namespace {
// Lines the end of a game adds to the sheet: bonus, boxes, rule with
// totals, subtraction, result; one more for the shutout.
constexpr uint32_t GAME_END_LINES = 5;
}  // namespace

ScoreRecord::ScoreRecord(uint32_t target) : Target(target) {}

void ScoreRecord::NewGame(bool watching) {
  if (BeforeNewGame) BeforeNewGame();
  NumLines = 0;
  NumScores = 0;
  HandsWon[0] = HandsWon[1] = 0;
  GameOver = false;
  Shutout = false;
  Watched = watching;
}

void ScoreRecord::SetWatching(bool watching) {
  if (watching) Watched = true;
}

const ScoreRow& ScoreRecord::Row(uint32_t index) const {
  NX_CHECK(index < NumScores);
  return Records[index];
}

void ScoreRecord::Grow() {
  const uint32_t newSize = NumScores + SCORE_ROW_GROWTH;
  auto rows = std::make_unique<ScoreRow[]>(newSize);
  std::copy(Records.get(), Records.get() + NumScores, rows.get());
  Records = std::move(rows);
  RecordsSize = newSize;
}

bool ScoreRecord::RecordHand(uint32_t winner, uint32_t points) {
  NX_CHECK(winner < SEAT_COUNT);
  NX_CHECK(NumScores <= RecordsSize);
  if (GameOver) return true;
  if (NumScores == RecordsSize) Grow();
  ScoreRow row = NumScores > 0 ? Records[NumScores - 1] : ScoreRow();
  row.Winner = winner;
  (winner == HUMAN_SEAT ? row.Human : row.Computer) += points;
  Records[NumScores] = row;
  ++HandsWon[winner];
  uint32_t extraLines = 0;
  if (std::max(row.Human, row.Computer) >= Target) {
    GameOver = true;
    GameWinner = winner;
    extraLines = GAME_END_LINES;
    if (HandsWon[0] * HandsWon[1] == 0) {
      Shutout = true;
      ++extraLines;
    }
  }
  ++NumScores;
  NumLines = NumScores + extraLines;
  return GameOver;
}

FinalTotals ScoreRecord::ComputeFinalTotals() const {
  FinalTotals totals;
  if (NumScores == 0) return totals;
  const ScoreRow& last = Records[NumScores - 1];
  totals.Total[0] = static_cast<int32_t>(last.Human);
  totals.Total[1] = static_cast<int32_t>(last.Computer);
  if (GameOver) {
    totals.Total[last.Winner] += GAME_BONUS;
    if (Shutout) totals.Total[last.Winner] *= SHUTOUT_FACTOR;
  }
  for (int player = 0; player < 2; ++player) totals.Total[player] += BOX_BONUS * static_cast<int32_t>(HandsWon[player]);
  if (totals.Total[0] != totals.Total[1]) {
    totals.Result = totals.Total[0] > totals.Total[1] ? 0 : 1;
    totals.Margin = totals.Total[totals.Result] - totals.Total[1 - totals.Result];
  }
  return totals;
}

FinalTotals ScoreRecord::ApplyFinalTotals() {
  FinalTotals totals = ComputeFinalTotals();
  GameWinner = totals.Result;
  return totals;
}
