#pragma once

// The frame's own settings keys beside the window placement's: whether
// the table was last shown at twice its size (files of earlier versions
// have only this one, and start at that size).
constexpr const char* OWN_SECTION = "Quorla";
constexpr const char* LARGE_TABLE_KEY = "LargeTable";
