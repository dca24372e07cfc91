#include "store/resume_availability.h"

#include "store/preferences.h"

void ResumeAvailability::CheckSettings(SettingsStore& store) { Resumable = IsResumable(store); }
