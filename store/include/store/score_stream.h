#pragma once

#include <cstdint>

#include "game/score_record.h"

class NxObjectReader;
class NxObjectWriter;

// Room for more rows than any game can use: every won hand scores at least
// one point, so even the 500-point target ends within 500 rows.
constexpr uint32_t MAX_SCORE_ROWS = 1000;

// The score record in the resume file: ten words, then the rows in use.
void WriteScoreRecord(NxObjectWriter& out, const ScoreRecord& record);
// Checks the sizes before allocating and the rows against each other; on a
// damaged record the reader carries the error and `record` is unchanged.
bool ReadScoreRecord(NxObjectReader& in, ScoreRecord& record);
