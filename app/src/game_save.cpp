#include "app/game_save.h"

#include <cstdio>

#include "store/preferences.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/settings_store.h"

namespace {

// A resume file the save could not replace holds an older game. It is kept
// under another name rather than deleted, and removed only when even the
// rename fails.
void SetAsideStaleResume(const std::string& resumePath) {
  const std::string aside = resumePath + SET_ASIDE_SUFFIX;
  if (std::rename(resumePath.c_str(), aside.c_str()) != 0) std::remove(resumePath.c_str());
}

}  // namespace

std::string UnsavedFilesMessage(const SaveReport& report) {
  if (report.Complete()) return "";
  std::string files;
  for (const std::string& path : report.Unsaved) files += (files.empty() ? "" : ", ") + path;
  return ResourceString(COULD_NOT_SAVE) + files + ResourceString(CHECK_THE_FOLDER);
}

uint32_t NotSavedCaption() { return NOT_SAVED_CAPTION; }

void NoteSettingsWrite(const SettingsStore& store, SaveReport& report) {
  if (store.LastError() != 0) report.Unsaved.push_back(store.Path());
}

SaveReport SaveGameState(TableParts& table, SettingsStore& store, Preferences& preferences,
                         const std::string& resumePath, bool fullSave) {
  SaveReport report;
  SettingsStore::Batch oneWrite(store);
  table.Sheet.CountGameEnd();
  if (!table.State().DoNotSave) {
    bool saved = false;
    if (!table.Sheet.Record().GameOver) {
      saved = WriteResume(resumePath, table, preferences.ResumeFormatStamp);
      if (!saved) {
        report.Unsaved.push_back(resumePath);
        SetAsideStaleResume(resumePath);
      } else {
        // The game set aside by an earlier failed save is older than this one.
        std::remove((resumePath + SET_ASIDE_SUFFIX).c_str());
      }
    }
    WriteSetting(store, keys::CanResume, saved ? 1 : 0);
  }
  TableChoices choices;
  choices.DeckId = table.State().CardBackId;
  choices.Rules.GameTarget = table.State().GameTarget;
  choices.Rules.Variation = table.State().Variation;
  choices.Rules.AceRequiresGin = table.State().AceRequiresGin;
  WriteTableChoices(store, choices);
  // The level dialog changes the computer player's level; the settings
  // must remember it.
  preferences.DifficultyLevel = table.Computer.Level();
  preferences.Master = table.Computer.PlaysAsMaster();
  preferences.Save(store);
  if (!fullSave) return report;
  table.Sheet.Stats.Save(store);
  table.Computer.SaveNets(table.Computer.Level());
  return report;
}
