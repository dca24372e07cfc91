#pragma once

// The frame's own settings keys beside the window placement's: whether
// the table was last shown at twice its size (files of earlier versions
// have only this one, and start at that size).
constexpr const char* OWN_SECTION = "Quorla";
constexpr const char* LARGE_TABLE_KEY = "LargeTable";

// Where the score sheet panel was: floating (with its place on the
// screen) or docked at the right or the left of the table.
constexpr const char* SHEET_FLOATING_KEY = "ScoreSheetFloating";
constexpr const char* SHEET_LEFT_KEY = "ScoreSheetLeft";
constexpr const char* SHEET_LEFT_EDGE_KEY = "ScoreSheetX";
constexpr const char* SHEET_TOP_EDGE_KEY = "ScoreSheetY";
