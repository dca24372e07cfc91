#include "ui/image_convert.h"

NxBitmap ToNxBitmap(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  NxBitmap bitmap(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uint32_t* to = bitmap.Row(y);
    for (int x = 0; x < rgb.width(); ++x) to[x] = line[x] & 0x00FFFFFF;
  }
  return bitmap;
}

QImage ToQImage(const NxBitmap& bitmap) {
  if (bitmap.IsEmpty()) return {};
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uint32_t* from = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) line[x] = 0xFF000000 | from[x];
  }
  return image;
}
