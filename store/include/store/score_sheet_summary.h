#pragma once

#include <string>

#include "game/score_record.h"

// The lines under the score sheet's columns: what the game is played to,
// both running totals and who leads by how much, so that the standing of
// the game reads without adding up the columns.
struct ScoreSheetSummary {
  std::string Target;
  std::string Totals;
  std::string Lead;
};

ScoreSheetSummary SummaryOf(const ScoreRecord& record);
