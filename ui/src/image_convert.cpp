#include "ui/image_convert.h"

NxBitmap ToNxBitmap(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width(), height = rgb.height();
  NxBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uint32_t* to = bitmap.Row(y);
    for (int x = 0; x < width; ++x) to[x] = line[x] & 0x00FFFFFF;
  }
  return bitmap;
}

QImage ToQImage(const NxBitmap& bitmap) {
  if (bitmap.IsEmpty()) return {};
  const int width = bitmap.Width(), height = bitmap.Height();
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uint32_t* from = bitmap.Row(y);
    for (int x = 0; x < width; ++x) line[x] = 0xFF000000 | from[x];
  }
  return image;
}
