#include "app/table_fit.h"

#include <algorithm>
#include <cmath>

#include "game/table_geometry.h"

double FitScale(TSize area) {
  const double across = static_cast<double>(area.cx) / TABLE_AREA.Width();
  const double down = static_cast<double>(area.cy) / TABLE_AREA.Height();
  return std::max(std::min(across, down), MIN_TABLE_SCALE);
}

TRect TablePlacement(TSize area, double scale) {
  const TRect table = DeviceCover(TABLE_AREA, scale);
  const int32_t left = (area.cx - table.Width()) / 2, top = (area.cy - table.Height()) / 2;
  return {left, top, left + table.Width(), top + table.Height()};
}

TPoint ToTablePoint(TPoint device, const TRect& placement, double scale) {
  // The table pixel under the device pixel's centre: the one that shows
  // most of it.
  return {static_cast<int32_t>(std::floor((device.x - placement.left + 0.5) / scale)),
          static_cast<int32_t>(std::floor((device.y - placement.top + 0.5) / scale))};
}

double FirstStartScale(TSize available, TSize chrome) {
  const TSize room{static_cast<int32_t>(available.cx * FIRST_START_SHARE) - chrome.cx,
                   static_cast<int32_t>(available.cy * FIRST_START_SHARE) - chrome.cy};
  return std::max(1.0, FitScale(room));
}
