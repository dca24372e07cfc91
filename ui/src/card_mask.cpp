#include "ui/card_mask.h"

#include "game/table_geometry.h"

namespace {

bool IsCornerPixel(int32_t x, int32_t y) {
  const int32_t dx = x < CARD_SIZE.cx / 2 ? x : CARD_SIZE.cx - 1 - x;
  const int32_t dy = y < CARD_SIZE.cy / 2 ? y : CARD_SIZE.cy - 1 - y;
  return dx + dy <= 1;
}

}  // namespace

NxBitmap CardMask(int32_t scale) {
  NxBitmap mask(CARD_SIZE.cx * scale, CARD_SIZE.cy * scale, 0);
  for (int32_t y = 0; y < mask.Height(); ++y)
    for (int32_t x = 0; x < mask.Width(); ++x)
      if (IsCornerPixel(x / scale, y / scale)) mask.SetPixel(x, y, 0x00FFFFFF);
  return mask;
}

void ApplyCardMask(NxBitmap& picture, const NxBitmap& mask) {
  if (picture.Width() != mask.Width() || picture.Height() != mask.Height()) return;
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 0; x < picture.Width(); ++x)
      if (mask.Pixel(x, y) & 0x00FFFFFF) picture.SetPixel(x, y, 0);
}
