#pragma once

#include <cstdint>

#include "game/bitmap.h"
#include "game/rect.h"

// Resource ids of the card pictures.
constexpr uint32_t CARD_FACE_BASE_ID = 24400;  // + card id
constexpr uint32_t CARD_MASK_ID = 24453;
constexpr uint32_t FIRST_CARD_BACK_ID = 24456;
constexpr uint32_t LAST_CARD_BACK_ID = 24465;

// Where the deck gets its pictures from. The window supplies the artwork;
// tests supply synthetic images. Pixels are 0x00RRGGBB words (the top byte
// is ignored), so the mask's AND/OR composition works on plain integers.
class NxImageProvider {
 public:
  virtual ~NxImageProvider() = default;
  // An empty bitmap when the id is unknown. Pictures are DeviceSize(their
  // size in table pixels, Scale()), drawn at the size they are shown, so the
  // cards stay sharp at whatever size the window gives the table.
  virtual NxBitmap LoadImage(uint32_t resourceId) = 0;
  // Device pixels per table pixel, any factor (not only whole numbers).
  virtual double Scale() const { return 1.0; }
};

// Whoever shows the table: receives each painted area of the back buffer
// (in table coordinates; the back buffer's origin is the table's top-left).
class NxTablePresenter {
 public:
  virtual ~NxTablePresenter() = default;
  virtual void Present(const NxBitmap& backBuffer, const TRect& tableArea) = 0;
};
