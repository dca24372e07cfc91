#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "game/rect.h"

class SettingsStore;

// The main window's size, place and state, remembered per player
// configuration in its settings file so the next start looks the same.
enum class WindowMode : uint32_t { NORMAL = 0, MAXIMISED = 1, FULL_SCREEN = 2 };

struct WindowPlacement {
  TRect Normal;  // the window's area when neither maximised nor full screen, screen coordinates
  WindowMode Mode = WindowMode::NORMAL;
  // Device pixels per screen coordinate when it was remembered; 0 when the
  // file does not say (an earlier version wrote it).
  double Ratio = 0;
  // False where only the size of Normal is known: the windowing system
  // kept the window's place to itself.
  bool PlaceKnown = true;
};

// Whether a window goes where the program puts it and tells where it is, by
// the toolkit's name for the windowing system ("xcb", "wayland",
// "wayland-egl", "offscreen"...): a Wayland compositor places every window
// itself and never says where.
bool PlatformPlacesWindows(std::string_view platformName);

// Nothing when the file holds no placement or a damaged one (a missing
// size, text that is no number, an empty or absurd size). A file without a
// place (written where it was not known) gives the size alone.
std::optional<WindowPlacement> ReadWindowPlacement(SettingsStore& store);
// An unknown place leaves the one in the file, from a run that knew it.
void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement);

// A remembered window area brought onto the screens there are now
// (available areas, the primary first, at `ratio` device pixels per
// coordinate, the window's title bar `titleHeight` tall above its area):
// as large on the screen as it was, even when it was remembered at another
// scale, onto the screen it overlaps most, or the primary when it overlaps
// none, and moved inside with its title bar. Nothing when it no longer fits
// there; the window then starts as on a first start. A remembered area of
// unknown place is centred on the primary.
std::optional<TRect> PlaceOnScreens(const WindowPlacement& remembered, const std::vector<TRect>& screens, double ratio,
                                    int32_t titleHeight);

// A window of `size` centred on a screen's available area.
TRect CentredOn(const TRect& screen, TSize size);

// The screen a window is shown on: all of it, and the part left to
// windows (without panels and docks).
struct ScreenAreas {
  TRect Whole;
  TRect Available;
};

// The area a window covers in `mode`: the whole screen in full screen, the
// available area maximised, its normal area otherwise.
TRect AreaOfMode(WindowMode mode, const TRect& normal, const ScreenAreas& screen);

// The main window's normal area, kept while it is maximised or full screen,
// and what a change of state leaves to the window itself: a window manager
// moves and sizes the window for a new state, but without one (or with one
// that ignores the request) only the state changes, and the window takes
// the state's area itself and gives the normal area back when it returns.
class WindowModes {
 public:
  explicit WindowModes(bool placesWindows = true) : PlacesWindows(placesWindows) {}
  // The window is placed at `normal` (a start, another configuration).
  void PlacedAt(const TRect& normal) { Normal = normal; }
  // The window moved or was resized to `shown` (inside its frame) while in
  // `mode`. Only a normal window's own area counts: one still covering a
  // whole screen area is between states.
  void Moved(WindowMode mode, const TRect& shown, const ScreenAreas& screen);
  // Once the change of state had time to happen: the area the window gives
  // itself, or nothing when it already covers what `mode` stands for (its
  // inside `shown` or, with a window manager's frame, its outside `outer`).
  // Nothing where the windowing system places windows itself: it carries
  // out every state, and an area of the program's own would contradict it.
  std::optional<TRect> AreaToTake(WindowMode mode, const TRect& shown, const TRect& outer,
                                  const ScreenAreas& screen) const;
  // What the configuration remembers: the normal area in every state, its
  // place only where the windowing system tells it.
  WindowPlacement ToRemember(WindowMode mode, const TRect& shown) const;

 private:
  bool PlacesWindows;
  std::optional<TRect> Normal;
};
