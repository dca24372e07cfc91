#include "ui/frame_size.h"

#include "store/preferences.h"

TSize ButtonBarAddition(const Preferences& preferences) {
  if (preferences.HideToolbar) return {0, 0};
  // 0 right, 1 left, 2 top, 3 bottom; a value out of range puts the bar at
  // the left edge.
  if (preferences.ToolbarLocation <= 1 || preferences.ToolbarLocation > 3) return {VERTICAL_BAR_WIDTH, 0};
  return {0, HORIZONTAL_BAR_HEIGHT};
}

TSize FrameWindowSize(int32_t captionHeight, int32_t menuHeight, const Preferences& preferences) {
  const TSize bar = ButtonBarAddition(preferences);
  return {588 + bar.cx, ((captionHeight + menuHeight - 38) * 13) / 10 + 453 + bar.cy};
}

bool WorkAreaTooSmall(TSize workArea, TSize window) {
  return workArea.cx < window.cx - 2 || workArea.cy < window.cy - 2;
}
