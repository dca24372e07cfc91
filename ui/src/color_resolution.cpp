#include "ui/color_resolution.h"

#include <algorithm>
#include <string>
#include <vector>

#include "store/setting_keys.h"
#include "store/settings_store.h"

ColorResolutionCheck CheckColorResolution(SettingsStore& settings, uint32_t current, bool warn) {
  ColorResolutionCheck check;
  check.Current = current;
  const uint32_t stored = ReadSetting(settings, keys::ColorResolution32);
  if (stored == current) return check;
  // A configuration that never recorded a resolution has no scenery chosen
  // for another one: its first start records the screen's without a warning.
  const std::vector<std::string> known = settings.Keys(keys::ColorResolution32.Section);
  const bool recorded =
      std::find(known.begin(), known.end(), std::string(keys::ColorResolution32.Key)) != known.end();
  WriteSetting(settings, keys::ColorResolution32, current);
  if (warn && recorded && stored != 0)
    check.Warning = BackdropMessage{backdrop_text::SCENERY_WARNING, backdrop_text::RESOLUTION_CHANGED,
                                    BackdropIcon::INFORMATION};
  return check;
}

bool NeedsColorResolutionQuestion(uint32_t displayBits, uint32_t imageBits) {
  return displayBits < imageBits && displayBits <= 4;
}

BackdropMessage ColorResolutionQuestion() {
  return {backdrop_text::SCENERY_WARNING, backdrop_text::RESOLUTION_QUESTION, BackdropIcon::QUESTION};
}
