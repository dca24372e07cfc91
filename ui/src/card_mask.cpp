#include "ui/card_mask.h"

#include <algorithm>

#include "table/device_pixels.h"
#include "game/table_geometry.h"

NxBitmap CardMask(double scale) {
  const TSize size = DeviceSize(CARD_SIZE, scale);
  NxBitmap mask(size.cx, size.cy, 0);
  // Two table pixels of reach along each edge, measured in device pixels.
  const double reach = 2.0 * scale;
  for (int32_t y = 0; y < mask.Height(); ++y) {
    uint32_t* row = mask.Row(y);
    for (int32_t x = 0; x < mask.Width(); ++x) {
      const int32_t dx = std::min(x, size.cx - 1 - x), dy = std::min(y, size.cy - 1 - y);
      if (dx + dy < reach - 1e-9) row[x] = 0x00FFFFFF;
    }
  }
  return mask;
}

void ApplyCardMask(NxBitmap& picture, const NxBitmap& mask) {
  if (picture.Width() != mask.Width() || picture.Height() != mask.Height()) return;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    uint32_t* row = picture.Row(y);
    const uint32_t* cut = mask.Row(y);
    for (int32_t x = 0; x < picture.Width(); ++x)
      if (cut[x] & 0x00FFFFFF) row[x] = 0;
  }
}
