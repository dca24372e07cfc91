#pragma once

#include <cstdint>
#include <string>

#include "app/window_update.h"
#include "store/preferences.h"
#include "store/table_parts.h"

// The Difficulty dialog's values: the level 0-3 (shown as 1-4) or Master
// (MASTER_CHOICE), and the reset box.
struct DifficultyChoice {
  static constexpr uint32_t MASTER_CHOICE = 4;
  uint32_t Level = 1;
  bool ResetTicked = false;
};

// The person's answer to the reset question; the question is asked only
// when the reset box is ticked, otherwise pass NOT_ASKED.
enum class ResetAnswer { NOT_ASKED, YES, NO, CANCEL };

// The dialog's choice for the computer player as it plays now.
uint32_t CurrentDifficultyChoice(const ComputerPlay& computer);

// The reset question for `level` (0-3, or Master, whose networks are level
// 4's), under the caption "Warning" with Yes, No and Cancel.
std::string ResetQuestion(uint32_t level);
uint32_t ResetQuestionCaption();

// Applies the Difficulty dialog: Cancel keeps the dialog open; No is a plain
// level change. Unless resetting, the old level's learning is saved first;
// the new level loads from the player's data (from the defaults on a reset,
// or when the player's data fails). When even the defaults fail the table
// is marked to close without saving. The level in force is written to the
// preferences. Master is level 4 with its search switched on.
WindowUpdate ApplyDifficulty(const DifficultyChoice& choice, ResetAnswer answer, TableParts& table,
                             Preferences& preferences);
