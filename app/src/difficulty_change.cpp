#include "app/difficulty_change.h"

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "player/computer_play.h"

std::string ResetQuestion(uint32_t level) {
  return ResourceString(RESET_LEVEL_START) + std::to_string(level + 1) + ResourceString(RESET_LEVEL_END);
}

uint32_t ResetQuestionCaption() { return WARNING_CAPTION; }

WindowUpdate ApplyDifficulty(const DifficultyChoice& choice, ResetAnswer answer, TableParts& table,
                             Preferences& preferences) {
  WindowUpdate update;
  if (choice.ResetTicked && (answer == ResetAnswer::CANCEL || answer == ResetAnswer::NOT_ASKED)) {
    // A ticked box without an answer must not pass as "no reset".
    update.KeepDialogOpen = true;
    return update;
  }
  // Levels beyond the four would read past the data files.
  if (choice.Level > 3) {
    update.KeepDialogOpen = true;
    return update;
  }
  const bool reset = choice.ResetTicked && answer == ResetAnswer::YES;
  ComputerPlay& computer = table.Computer;
  if (choice.Level == computer.Level() && !reset) return update;
  computer.ChangeLevel(choice.Level, reset);
  preferences.DifficultyLevel = computer.Level();
  update.Close = table.State.DoNotSave;
  return update;
}
