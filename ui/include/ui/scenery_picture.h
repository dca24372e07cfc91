#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QString>

// Scenery in any picture format Qt reads, besides the Windows bitmaps the
// backdrop file code checks itself.

struct DecodedPicture {
  QImage Image;                 // null when Cause is set
  const char* Cause = nullptr;  // the backdrop's cause text when the bytes give no picture
};

// Decodes the bytes of a picture file: the format is told by the contents,
// the size is checked against the bitmap's pixel limit before any pixel is
// decoded, and a photograph's orientation is applied.
DecodedPicture DecodePicture(const std::vector<uint8_t>& bytes);

// The scenery file dialog's filters: every picture Qt reads first, then the
// bitmap filter it always had.
QString SceneryFileFilters(const QString& picturesLabel, const QString& bitmapFilter);
