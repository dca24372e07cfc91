#include "app/difficulty_change.h"

#include <algorithm>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "player/computer_play.h"

uint32_t CurrentDifficultyChoice(const ComputerPlay& computer) {
  return computer.PlaysAsMaster() ? DifficultyChoice::MASTER_CHOICE : computer.Level();
}

std::string ResetQuestion(uint32_t level) {
  level = std::min(level, ComputerPlay::TOP_LEVEL);
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
  // Levels beyond the five would read past the data files.
  if (choice.Level > DifficultyChoice::MASTER_CHOICE) {
    update.KeepDialogOpen = true;
    return update;
  }
  const bool reset = choice.ResetTicked && answer == ResetAnswer::YES;
  const bool master = choice.Level == DifficultyChoice::MASTER_CHOICE;
  const uint32_t level = std::min(choice.Level, ComputerPlay::TOP_LEVEL);
  ComputerPlay& computer = table.Computer;
  if (level == computer.Level() && master == computer.PlaysAsMaster() && !reset) return update;
  computer.ChangeLevel(level, reset);
  computer.PlayAsMaster(master);
  preferences.DifficultyLevel = computer.Level();
  preferences.Master = computer.PlaysAsMaster();
  update.Close = table.State().DoNotSave;
  return update;
}
