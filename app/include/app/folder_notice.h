#pragma once

#include <string>

class SettingsStore;

// The word owed to a person whose files stay behind in an installation
// folder that can no longer be written, while the program keeps their files
// in `filesNowIn`: said once per folder, which the settings now in use
// remember (the settings `store`). Empty when nothing is to be said.
std::string LeftBehindFilesNotice(SettingsStore& store, const std::string& installation,
                                  const std::string& filesNowIn);
