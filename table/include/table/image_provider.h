#pragma once

#include <cstdint>

#include "game/card_picture_ids.h"
#include "game/rect.h"
#include "table/bitmap.h"

// Where the table picture gets the card pictures from. The window supplies
// the artwork; tests supply synthetic images. Pixels are 0x00RRGGBB words
// (the top byte is ignored), so the mask's AND/OR composition works on
// plain integers.
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
