#pragma once

#include <cstdint>
#include <string>

#include "app/window_update.h"
#include "store/preferences.h"

// The Configure Preferences dialog's values: the Startup, Button Bar and
// Table groups.
struct PreferenceChoices {
  bool AlwaysResume = false;
  bool DisableScenery = false;
  uint32_t ToolbarLocation = 1;  // 0 right, 1 left, 2 top, 3 bottom
  bool HideToolbar = false;
  bool ShowMelds = true;
  bool Animation = true;
  std::string Language;  // a known language's code, or empty for the desktop's
};

PreferenceChoices CurrentPreferenceChoices(const Preferences& preferences);

// Applies the Configure Preferences dialog to the preferences: a moved,
// shown or hidden button bar asks for the frame to be laid out again, and
// scenery switched on or off for the backdrop to be loaded again, the meld
// marks or animation switched for the table's presentation. A
// location other than the four is ignored. A language other than the known
// ones is the desktop's; another language is spoken from the next start.
WindowUpdate ApplyPreferenceChoices(const PreferenceChoices& chosen, Preferences& preferences);
