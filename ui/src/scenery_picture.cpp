#include "ui/scenery_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QStringList>

#include "ui/backdrop_message.h"
#include "ui/bmp_file.h"

DecodedPicture DecodePicture(const std::vector<uint8_t>& bytes) {
  DecodedPicture decoded;
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  if (!reader.canRead()) {
    decoded.Cause = backdrop_text::GDI_ERROR;
    return decoded;
  }
  // A few bytes of header can declare an enormous picture; the size is
  // known before decoding, and Qt's own allocation limit covers formats
  // that do not tell it.
  const QSize size = reader.size();
  if (size.isValid() && static_cast<uint64_t>(size.width()) * static_cast<uint64_t>(size.height()) > BMP_MAX_PIXELS) {
    decoded.Cause = backdrop_text::NO_MEMORY;
    return decoded;
  }
  decoded.Image = reader.read();
  if (decoded.Image.isNull()) decoded.Cause = backdrop_text::GDI_ERROR;
  return decoded;
}

QString SceneryFileFilters(const QString& picturesLabel, const QString& bitmapFilter) {
  QStringList patterns;
  for (const QByteArray& suffix : QImageReader::supportedImageFormats())
    patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
  return picturesLabel + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;") + bitmapFilter;
}
