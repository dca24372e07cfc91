#include "store/game_save.h"

#include "store/preferences.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

void SaveGameState(TableParts& table, SettingsStore& store, Preferences& preferences, const std::string& resumePath,
                   bool fullSave) {
  SettingsStore::Batch oneWrite(store);
  if (!table.State.DoNotSave) {
    bool saved = false;
    if (!table.Sheet.Record().GameOver) saved = WriteResume(resumePath, table, preferences.ResumeFormatStamp);
    WriteSetting(store, keys::CanResume, saved ? 1 : 0);
  }
  TableChoices choices;
  choices.DeckId = table.State.CardBackId;
  choices.Rules.GameTarget = table.State.GameTarget;
  choices.Rules.Variation = table.State.Variation;
  choices.Rules.AceRequiresGin = table.State.AceRequiresGin;
  WriteTableChoices(store, choices);
  // The level dialog changes the computer player's level; the settings
  // must remember it.
  preferences.DifficultyLevel = table.Computer.Level();
  preferences.Save(store);
  if (!fullSave) return;
  table.Sheet.Stats.Save(store);
  table.Computer.SaveNets(table.Computer.Level());
}
