#pragma once

#include <string>

#include "store/table_parts.h"

class SettingsStore;
struct Preferences;

// The table's save sequence, on close and before a configuration switch:
// the unfinished game to the resume file with CanResume telling whether
// that worked (a game that is over is not written and leaves CanResume 0),
// then the rule choices, the card back and the preferences. The full save
// adds the statistics and the current level's learned weights. A table
// marked not to be saved writes neither the resume file nor CanResume.
void SaveGameState(TableParts& table, SettingsStore& store, Preferences& preferences, const std::string& resumePath,
                   bool fullSave);
