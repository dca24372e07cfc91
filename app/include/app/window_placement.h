#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "game/rect.h"

class SettingsStore;

// The main window's size, place and state, remembered per player
// configuration in its settings file so the next start looks the same.
enum class WindowMode : uint32_t { NORMAL = 0, MAXIMISED = 1, FULL_SCREEN = 2 };

struct WindowPlacement {
  TRect Normal;  // the window's area when neither maximised nor full screen, screen coordinates
  WindowMode Mode = WindowMode::NORMAL;
};

// Nothing when the file holds no placement or a damaged one (a missing key,
// text that is no number, an empty or absurd size).
std::optional<WindowPlacement> ReadWindowPlacement(SettingsStore& store);
void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement);

// A remembered window area brought onto the screens there are now
// (available areas, the primary first): onto the screen it overlaps most,
// or the primary when it overlaps none, shrunk to fit and moved inside.
TRect PlaceOnScreens(const TRect& remembered, const std::vector<TRect>& screens);

// A window of `size` centred on a screen's available area.
TRect CentredOn(const TRect& screen, TSize size);
