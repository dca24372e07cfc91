#include "app/window_placement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "store/settings_store.h"

namespace {

// Beside the configuration's other own keys; absent from older files,
// which then start like a first run.
constexpr const char* SECTION = "Quorla";
constexpr const char* LEFT_KEY = "WindowLeft";
constexpr const char* TOP_KEY = "WindowTop";
constexpr const char* WIDTH_KEY = "WindowWidth";
constexpr const char* HEIGHT_KEY = "WindowHeight";
constexpr const char* MODE_KEY = "WindowState";
// In thousandths, so that the file holds no decimal point of any locale.
constexpr const char* RATIO_KEY = "WindowRatio";
constexpr int32_t RATIO_UNITS = 1000;
constexpr int32_t LARGEST_RATIO = 100 * RATIO_UNITS;

// No screen is this large; anything beyond is a damaged or hand-edited file.
constexpr int32_t LARGEST_COORDINATE = 1 << 20;

std::optional<int32_t> ReadSigned(SettingsStore& store, const char* key) {
  const std::string text = store.ReadString(SECTION, key, "");
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < -LARGEST_COORDINATE || value > LARGEST_COORDINATE) return std::nullopt;
  return value;
}

int64_t OverlapArea(const TRect& a, const TRect& b) {
  const TRect both = a.Intersection(b);
  return both.IsEmpty() ? 0 : static_cast<int64_t>(both.Width()) * both.Height();
}

}  // namespace

bool PlatformPlacesWindows(std::string_view platformName) { return !platformName.starts_with("wayland"); }

std::optional<WindowPlacement> ReadWindowPlacement(SettingsStore& store) {
  // Both or neither: a place half written is a damaged one.
  const bool placeWritten = !store.ReadString(SECTION, LEFT_KEY, "").empty() ||
                            !store.ReadString(SECTION, TOP_KEY, "").empty();
  const auto left = ReadSigned(store, LEFT_KEY), top = ReadSigned(store, TOP_KEY);
  const auto width = ReadSigned(store, WIDTH_KEY), height = ReadSigned(store, HEIGHT_KEY);
  const auto mode = ReadSigned(store, MODE_KEY);
  if ((placeWritten && (!left || !top)) || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  WindowPlacement placement;
  placement.PlaceKnown = placeWritten;
  const int32_t x = placeWritten ? *left : 0, y = placeWritten ? *top : 0;
  placement.Normal = {x, y, x + *width, y + *height};
  if (mode && *mode >= 0 && *mode <= static_cast<int32_t>(WindowMode::FULL_SCREEN))
    placement.Mode = static_cast<WindowMode>(*mode);
  if (const auto ratio = ReadSigned(store, RATIO_KEY); ratio && *ratio > 0 && *ratio <= LARGEST_RATIO)
    placement.Ratio = static_cast<double>(*ratio) / RATIO_UNITS;
  return placement;
}

void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement) {
  SettingsStore::Batch oneWrite(store);
  const TRect& r = placement.Normal;
  if (placement.PlaceKnown) {
    store.WriteString(SECTION, LEFT_KEY, std::to_string(r.left));
    store.WriteString(SECTION, TOP_KEY, std::to_string(r.top));
  }
  store.WriteString(SECTION, WIDTH_KEY, std::to_string(r.Width()));
  store.WriteString(SECTION, HEIGHT_KEY, std::to_string(r.Height()));
  store.WriteString(SECTION, MODE_KEY, std::to_string(static_cast<uint32_t>(placement.Mode)));
  if (placement.Ratio > 0)
    store.WriteString(SECTION, RATIO_KEY, std::to_string(std::lround(placement.Ratio * RATIO_UNITS)));
}

std::optional<TRect> PlaceOnScreens(const WindowPlacement& remembered, const std::vector<TRect>& screens, double ratio,
                                    int32_t titleHeight) {
  // Coordinates scale with the ratio: an area remembered at 2.5 device
  // pixels per coordinate covers 2.5 times as many at 1.
  const double factor = remembered.Ratio > 0 && ratio > 0 ? remembered.Ratio / ratio : 1.0;
  auto now = [factor](int32_t value) { return static_cast<int32_t>(std::lround(value * factor)); };
  const TRect& r = remembered.Normal;
  const TRect area{now(r.left), now(r.top), now(r.left) + now(r.Width()), now(r.top) + now(r.Height())};
  if (screens.empty()) return area;
  if (!remembered.PlaceKnown) {
    const TRect& primary = screens.front();
    if (area.Width() > primary.Width() || area.Height() + titleHeight > primary.Height()) return std::nullopt;
    return CentredOn(primary, {area.Width(), area.Height()});
  }
  const TRect* best = &screens.front();
  int64_t bestOverlap = 0;
  for (const TRect& screen : screens) {
    const int64_t overlap = OverlapArea(area, screen);
    if (overlap > bestOverlap) {
      best = &screen;
      bestOverlap = overlap;
    }
  }
  if (area.Width() > best->Width() || area.Height() + titleHeight > best->Height()) return std::nullopt;
  const int32_t left = std::clamp(area.left, best->left, best->right - area.Width());
  const int32_t top = std::clamp(area.top, best->top + titleHeight, best->bottom - area.Height());
  return TRect{left, top, left + area.Width(), top + area.Height()};
}

TRect CentredOn(const TRect& screen, TSize size) {
  const int32_t left = screen.left + (screen.Width() - size.cx) / 2;
  const int32_t top = screen.top + (screen.Height() - size.cy) / 2;
  return {left, top, left + size.cx, top + size.cy};
}

TRect AreaOfMode(WindowMode mode, const TRect& normal, const ScreenAreas& screen) {
  switch (mode) {
    case WindowMode::FULL_SCREEN: return screen.Whole;
    case WindowMode::MAXIMISED: return screen.Available;
    case WindowMode::NORMAL: break;
  }
  return normal;
}

namespace {

bool SameSize(const TRect& a, const TRect& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

bool CoversAScreenArea(const TRect& area, const ScreenAreas& screen) {
  return area == screen.Whole || area == screen.Available;
}

}  // namespace

void WindowModes::Moved(WindowMode mode, const TRect& shown, const ScreenAreas& screen) {
  if (mode == WindowMode::NORMAL && !CoversAScreenArea(shown, screen) && !shown.IsEmpty()) Normal = shown;
}

std::optional<TRect> WindowModes::AreaToTake(WindowMode mode, const TRect& shown, const TRect& outer,
                                             const ScreenAreas& screen) const {
  if (!PlacesWindows) return std::nullopt;
  switch (mode) {
    case WindowMode::FULL_SCREEN:
      if (shown == screen.Whole) return std::nullopt;
      return screen.Whole;
    case WindowMode::MAXIMISED:
      // A window manager's maximised window fills the available area with
      // its frame; where it puts it is its own affair.
      if (SameSize(shown, screen.Available) || SameSize(outer, screen.Available)) return std::nullopt;
      return screen.Available;
    case WindowMode::NORMAL:
      // Back from another state with nobody to give the normal area back.
      if (Normal && shown != *Normal && (CoversAScreenArea(shown, screen) || CoversAScreenArea(outer, screen)))
        return Normal;
      return std::nullopt;
  }
  return std::nullopt;
}

WindowPlacement WindowModes::ToRemember(WindowMode mode, const TRect& shown) const {
  WindowPlacement placement{mode == WindowMode::NORMAL || !Normal ? shown : *Normal, mode};
  placement.PlaceKnown = PlacesWindows;
  return placement;
}
