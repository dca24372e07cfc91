#pragma once

#include <cstdint>
#include <string>

#include "app/window_update.h"
#include "store/preferences.h"
#include "store/table_parts.h"

// The Difficulty dialog's values: the level 0-3 (shown as 1-4) and the reset
// box.
struct DifficultyChoice {
  uint32_t Level = 1;
  bool ResetTicked = false;
};

// The person's answer to the reset question; the question is asked only
// when the reset box is ticked, otherwise pass NOT_ASKED.
enum class ResetAnswer { NOT_ASKED, YES, NO, CANCEL };

// The reset question for `level` (0-3), under the caption "Warning" with
// Yes, No and Cancel.
std::string ResetQuestion(uint32_t level);
uint32_t ResetQuestionCaption();

// Applies the Difficulty dialog: Cancel keeps the dialog open; No is a plain
// level change. Unless resetting, the old level's learning is saved first;
// the new level loads from the player's data (from the defaults on a reset,
// or when the player's data fails). When even the defaults fail the table
// is marked to close without saving. The level in force is written to the
// preferences.
WindowUpdate ApplyDifficulty(const DifficultyChoice& choice, ResetAnswer answer, TableParts& table,
                             Preferences& preferences);
