#pragma once

#include <cstdint>
#include <optional>

#include "ui/backdrop_message.h"

class SettingsStore;

// Bits per pixel times colour planes of the screen, as last seen, kept in the
// settings so that a change of display depth can be pointed out once.
struct ColorResolutionCheck {
  uint32_t Current = 0;
  std::optional<BackdropMessage> Warning;
};

// Compares current with System/ColorResolution32 and records current when
// they differ. The warning comes only when asked for and the stored value
// was not 0.
ColorResolutionCheck CheckColorResolution(SettingsStore& settings, uint32_t current, bool warn);

// Whether a chosen picture needs the Yes/No question before it is used.
bool NeedsColorResolutionQuestion(uint32_t displayBits, uint32_t imageBits);
BackdropMessage ColorResolutionQuestion();
