#include "ui/color_resolution.h"

#include "store/setting_keys.h"

ColorResolutionCheck CheckColorResolution(SettingsStore& settings, uint32_t current, bool warn) {
  ColorResolutionCheck check;
  check.Current = current;
  const uint32_t stored = ReadSetting(settings, keys::ColorResolution32);
  if (stored == current) return check;
  WriteSetting(settings, keys::ColorResolution32, current);
  if (warn && stored != 0)
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
