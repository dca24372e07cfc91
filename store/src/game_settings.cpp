#include "store/game_settings.h"

#include "game/text_ids.h"
#include "store/statistics.h"

std::string GameSettings::Open(const std::string& settingsPath) {
  Store = std::make_unique<SettingsStore>("Quorla", settingsPath, true);
  const auto damage = Store->SetAsideIfDamaged(IsUsableStatisticValue);
  Prefs.Load(*Store);
  return damage ? DamageMessage(*damage, {THE_SETTINGS_FILE, SETTINGS_START_AFRESH, SETTINGS_READABLE_KEPT,
                                          SETTINGS_NOT_SAVED})
                : "";
}
