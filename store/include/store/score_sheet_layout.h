#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/score_record.h"

// Every line of the score sheet as text and marks, so that a window only
// has to draw them. Positions are in units of the width and height of the
// text "0" in the sheet's font, except where a name says pixels.

enum SheetColumn : uint32_t { HUMAN_COLUMN = 0, COMPUTER_COLUMN = 1, NO_COLUMN = 2 };

enum class SheetLineKind { ROW, GAME_BONUS, SHUTOUT, BOXES, TOTALS, SUBTRACTION, RESULT };

// A rule drawn across both columns at the top of a line.
enum class SheetRule { NONE, SINGLE, DOUBLE };

struct SheetLine {
  SheetLineKind Kind = SheetLineKind::ROW;
  // Right-aligned at the end of the column; an empty text draws nothing.
  std::array<std::string, 2> Text;
  // Rows underline the hand winner's total just above the next line.
  uint32_t Underlined = NO_COLUMN;
  SheetRule RuleAbove = SheetRule::NONE;
  // The human's winning margin sits one pixel lower than the line.
  int32_t TextDropPixels = 0;
};

struct ScoreSheetLayout {
  std::vector<SheetLine> Lines;
  bool GameOver = false;
  FinalTotals Totals;  // set when the game is over
};

namespace sheet_geometry {
// Where each column's text ends (right-aligned), human then computer.
inline constexpr int32_t COLUMN_END[2] = {7, 16};
inline constexpr int32_t UNDERLINE_FROM[2] = {2, 11};
inline constexpr int32_t UNDERLINE_TO[2] = {8, 17};
inline constexpr int32_t RULE_FROM_PIXELS = 4;
inline constexpr int32_t RULE_TO = 18;
inline constexpr int32_t DOUBLE_RULE_GAP_PIXELS = 2;
}  // namespace sheet_geometry

// The lines of the record as they stand: one per row, and once the game is
// over its end (game bonus, shutout, boxes, totals under a rule, and the
// result under a double rule unless the game is tied). Has no side
// effects: the record's game winner and the statistics are left alone.
ScoreSheetLayout LayOutScoreSheet(const ScoreRecord& record);
