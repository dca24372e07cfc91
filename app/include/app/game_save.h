#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/table_parts.h"

class SettingsStore;
struct Preferences;

// What a save could not write, by file path, in the order they were tried.
struct SaveReport {
  std::vector<std::string> Unsaved;
  bool Complete() const { return Unsaved.empty(); }
};

// Adds the settings file to the report when the store's last write (the
// end of its outermost batch) failed.
void NoteSettingsWrite(const SettingsStore& store, SaveReport& report);

// The one message that names every file a save could not write, under
// NotSavedCaption(); empty when everything was saved.
std::string UnsavedFilesMessage(const SaveReport& report);
uint32_t NotSavedCaption();

// The table's save sequence, on close and before a configuration switch:
// the unfinished game to the resume file with CanResume telling whether
// that worked (a game that is over is not written and leaves CanResume 0),
// then the rule choices, the card back and the preferences. The full save
// adds the statistics and the current level's learned weights. A table
// marked not to be saved writes neither the resume file nor CanResume.
// A finished game that no drawing of the score sheet has counted yet is
// counted first. When the game cannot be written, the previous resume file
// is set aside, so that an older game never passes for this one. The
// settings file is checked by the caller once its batch has been written.
SaveReport SaveGameState(TableParts& table, SettingsStore& store, Preferences& preferences,
                         const std::string& resumePath, bool fullSave);
