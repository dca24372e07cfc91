#pragma once

#include <QImage>

#include "table/bitmap.h"

// The deck's pixel buffers hold 0x00RRGGBB words; QImage::Format_RGB32 holds
// 0xFFRRGGBB, so only the top byte differs.
NxBitmap ToNxBitmap(const QImage& image);
QImage ToQImage(const NxBitmap& bitmap);
