#include "store/score_stream.h"

#include <algorithm>
#include <memory>

#include "game/object_stream.h"
#include "game/rules.h"

namespace {

constexpr uint32_t GAME_END_LINES = 5;

// Each row adds the hand's points to its winner's running total only.
bool RowsAddUp(const ScoreRecord& r) {
  ScoreRow previous;
  uint32_t won[2] = {0, 0};
  for (uint32_t i = 0; i < r.NumScores; ++i) {
    const ScoreRow& row = r.Records[i];
    if (row.Winner > 1) return false;
    const uint32_t loser = 1 - row.Winner;
    const uint32_t totals[2] = {row.Human, row.Computer};
    const uint32_t before[2] = {previous.Human, previous.Computer};
    if (totals[loser] != before[loser] || totals[row.Winner] <= before[row.Winner]) return false;
    if (totals[row.Winner] - before[row.Winner] > static_cast<uint32_t>(MAX_HAND_POINTS)) return false;
    // Only the last row may reach the target.
    if (i + 1 < r.NumScores && std::max(row.Human, row.Computer) >= r.Target) return false;
    ++won[row.Winner];
    previous = row;
  }
  return won[0] == r.HandsWon[0] && won[1] == r.HandsWon[1];
}

bool Consistent(const ScoreRecord& r) {
  if (!IsValidGameTarget(r.Target) || r.GameWinner > GAME_TIED) return false;
  if (!RowsAddUp(r)) return false;
  const bool reached = r.NumScores > 0 && std::max(r.Records[r.NumScores - 1].Human,
                                                    r.Records[r.NumScores - 1].Computer) >= r.Target;
  if (r.GameOver != reached) return false;
  if (r.Shutout != (r.GameOver && r.HandsWon[0] * r.HandsWon[1] == 0)) return false;
  const uint32_t endLines = r.GameOver ? GAME_END_LINES + (r.Shutout ? 1 : 0) : 0;
  return r.NumLines == r.NumScores + endLines;
}

}  // namespace

void WriteScoreRecord(NxObjectWriter& out, const ScoreRecord& record) {
  out.WriteWord(record.NumScores);
  out.WriteWord(record.NumLines);
  out.WriteWord(record.Target);
  out.WriteWord(record.HandsWon[0]);
  out.WriteWord(record.HandsWon[1]);
  out.WriteWord(record.RecordsSize);
  out.WriteWord(record.GameWinner);
  out.WriteBool(record.GameOver);
  out.WriteBool(record.Shutout);
  out.WriteBool(record.Watched);
  for (uint32_t i = 0; i < record.NumScores; ++i) {
    out.WriteWord(record.Records[i].Human);
    out.WriteWord(record.Records[i].Computer);
    out.WriteWord(record.Records[i].Winner);
  }
}

bool ReadScoreRecord(NxObjectReader& in, ScoreRecord& record) {
  ScoreRecord read(0);
  const uint32_t rows = in.ReadWord();
  read.NumLines = in.ReadWord();
  read.Target = in.ReadWord();
  read.HandsWon[0] = in.ReadWord();
  read.HandsWon[1] = in.ReadWord();
  read.RecordsSize = in.ReadWord();
  read.GameWinner = in.ReadWord();
  read.GameOver = in.ReadBool();
  read.Shutout = in.ReadBool();
  read.Watched = in.ReadBool();
  if (!in.Good()) return false;
  if (read.RecordsSize < rows) {
    in.Fail("data.RecordsSize >= data.NumScores");
    return false;
  }
  if (read.RecordsSize > MAX_SCORE_ROWS + SCORE_ROW_GROWTH) {
    in.Fail("score record capacity out of range");
    return false;
  }
  read.Records = std::make_unique<ScoreRow[]>(read.RecordsSize);
  for (uint32_t i = 0; i < rows && in.Good(); ++i) {
    read.Records[i].Human = in.ReadWord();
    read.Records[i].Computer = in.ReadWord();
    read.Records[i].Winner = in.ReadWord();
  }
  read.NumScores = rows;
  if (!in.Good()) return false;
  if (!Consistent(read)) {
    in.Fail("score record rows out of step");
    return false;
  }
  // Who watches the record for new games is not part of the saved game.
  read.BeforeNewGame = std::move(record.BeforeNewGame);
  record = std::move(read);
  return true;
}
