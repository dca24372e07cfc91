#include "store/score_sheet_layout.h"

#include <cstdio>

#include "game/rules.h"

namespace {

std::string Format(const char* format, int32_t value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

SheetLine LineOf(SheetLineKind kind) {
  SheetLine line;
  line.Kind = kind;
  return line;
}

SheetLine RowLine(const ScoreRow& row) {
  SheetLine line = LineOf(SheetLineKind::ROW);
  line.Text[HUMAN_COLUMN] = Format("%4d", static_cast<int32_t>(row.Human));
  line.Text[COMPUTER_COLUMN] = Format("%4d", static_cast<int32_t>(row.Computer));
  line.Underlined = row.Winner < 2 ? row.Winner : NO_COLUMN;
  return line;
}

// The end of a finished game, worked out line by line as the totals grow.
void AddGameEnd(const ScoreRecord& record, const ScoreRow& last, ScoreSheetLayout& layout) {
  const uint32_t w = last.Winner < 2 ? last.Winner : HUMAN_COLUMN;
  int32_t total[2] = {static_cast<int32_t>(last.Human), static_cast<int32_t>(last.Computer)};

  SheetLine bonus = LineOf(SheetLineKind::GAME_BONUS);
  bonus.Text[w] = Format("+%d", GAME_BONUS);
  total[w] += GAME_BONUS;
  layout.Lines.push_back(bonus);

  if (record.Shutout) {
    SheetLine shutout = LineOf(SheetLineKind::SHUTOUT);
    shutout.Text[w] = Format("+%3d", total[w]);
    total[w] *= SHUTOUT_FACTOR;
    layout.Lines.push_back(shutout);
  }

  SheetLine boxes = LineOf(SheetLineKind::BOXES);
  for (uint32_t p = 0; p < 2; ++p) {
    const int32_t won = static_cast<int32_t>(record.HandsWon[p]);
    if (won > 0) boxes.Text[p] = Format("+%d (25)", won);
    total[p] += BOX_BONUS * won;
  }
  layout.Lines.push_back(boxes);

  SheetLine totals = LineOf(SheetLineKind::TOTALS);
  totals.RuleAbove = SheetRule::SINGLE;
  for (uint32_t p = 0; p < 2; ++p) totals.Text[p] = Format("%4d", total[p]);
  layout.Lines.push_back(totals);

  // The winner's column takes away the loser's total; a tie leaves both
  // lines empty.
  SheetLine subtraction = LineOf(SheetLineKind::SUBTRACTION);
  SheetLine result = LineOf(SheetLineKind::RESULT);
  if (total[0] != total[1]) {
    const uint32_t winner = total[1] > total[0] ? COMPUTER_COLUMN : HUMAN_COLUMN;
    const uint32_t loser = 1 - winner;
    subtraction.Text[winner] = Format("-%3d", total[loser]);
    result.RuleAbove = SheetRule::DOUBLE;
    result.Text[winner] = Format("%4d", total[winner] - total[loser]);
    if (winner == HUMAN_COLUMN) result.TextDropPixels = 1;
  }
  layout.Lines.push_back(subtraction);
  layout.Lines.push_back(result);
  layout.Totals = record.ComputeFinalTotals();
}

}  // namespace

ScoreSheetLayout LayOutScoreSheet(const ScoreRecord& record) {
  ScoreSheetLayout layout;
  const uint32_t rows = record.NumScores <= record.RecordsSize ? record.NumScores : record.RecordsSize;
  layout.Lines.reserve(rows + 6);
  for (uint32_t i = 0; i < rows; ++i) layout.Lines.push_back(RowLine(record.Records[i]));
  layout.GameOver = record.GameOver && rows > 0;
  if (layout.GameOver) AddGameEnd(record, record.Records[rows - 1], layout);
  return layout;
}
