#include "store/resume_availability.h"

#include "store/preferences.h"

void ResumeAvailability::CheckSettings(SettingsStore& store, uint64_t humanMoves) {
  Resumable = IsResumable(store);
  MovesAtCheck = humanMoves;
}
