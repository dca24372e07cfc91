#pragma once

#include <memory>
#include <string>

#include "store/preferences.h"
#include "store/settings_store.h"

// The settings of the configuration in use: its store and the preferences
// read from it.
struct GameSettings {
  std::unique_ptr<SettingsStore> Store;
  Preferences Prefs;

  // Opens the settings file of the current configuration and reads the
  // preferences. A damaged file (a statistic no counter can hold included)
  // is set aside first, and what could be read of it carries on; the text
  // returned then tells the person so (empty when the file was sound or
  // missing).
  std::string Open(const std::string& settingsPath);
};
