#include "ui/decoration_layout.h"

#include <algorithm>

#include "table/device_pixels.h"
#include "game/string_table.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"

namespace {

uint32_t MeanDecides(const NxBitmap& picture, const TRect& area) {
  const TRect part = area.Intersection(picture.Bounds());
  if (part.IsEmpty()) return WHITE_MARKS;
  uint64_t sum = 0;
  for (int32_t y = part.top; y < part.bottom; ++y) {
    const uint32_t* row = picture.Row(y);
    for (int32_t x = part.left; x < part.right; ++x) {
      const uint32_t p = row[x];
      sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  }
  const auto count = static_cast<uint64_t>(part.Width()) * static_cast<uint64_t>(part.Height());
  // mean < 128 without rounding: sum / (3 * count) < 128.
  return sum < 128 * 3 * count ? WHITE_MARKS : BLACK_MARKS;
}

}  // namespace

TRect LabelSampleArea(double scale) {
  // The knock area with its right and bottom edges, in device pixels.
  return DeviceCover({KNOCK_AREA.left, KNOCK_AREA.top, KNOCK_AREA.right + 1, KNOCK_AREA.bottom + 1}, scale);
}

uint32_t LabelColour(const NxBitmap& backdrop, double scale) { return MeanDecides(backdrop, LabelSampleArea(scale)); }

uint32_t LabelColourOfSample(const NxBitmap& sample) { return MeanDecides(sample, sample.Bounds()); }

int32_t LabelPointSize(int32_t discardWidthPixels) { return discardWidthPixels < 57 ? 12 : 10; }

int32_t LabelPixelHeight(int32_t points) { return points * 96 / 72; }

std::array<LabelPlace, 5> LabelPlaces() {
  const int32_t x = (KNOCK_AREA.left + KNOCK_AREA.right) / 2;
  const int32_t h = KNOCK_AREA.Height();
  const int32_t upper = KNOCK_AREA.top + h * 35 / 100;
  const int32_t middle = KNOCK_AREA.top + h * 55 / 100;
  const int32_t lower = KNOCK_AREA.top + h * 75 / 100;
  const char* discard = ResourceString(TABLE_LABEL_DISCARD);
  return {{{ResourceString(TABLE_LABEL_FINAL), x, upper},
           {discard, x, middle},
           {ResourceString(TABLE_LABEL_KNOCK), x, lower},
           {ResourceString(TABLE_LABEL_STOCK), x + 81, middle},
           {discard, x + 162, middle}}};
}

std::vector<TRect> OutlineStrokes() {
  std::vector<TRect> strokes;
  for (const TRect& area : {KNOCK_AREA, STOCK_AREA, DISCARD_AREA}) {
    const TRect r{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    // The frame covers left..right-1 and top..bottom-1.
    strokes.push_back({r.left, r.top, r.right, r.top + 1});
    strokes.push_back({r.left, r.bottom - 1, r.right, r.bottom});
    strokes.push_back({r.left, r.top + 1, r.left + 1, r.bottom - 1});
    strokes.push_back({r.right - 1, r.top + 1, r.right, r.bottom - 1});
    // The outer lines stop one pixel short of each end, so the corners stay open.
    strokes.push_back({r.left + 1, r.top - 1, r.right - 1, r.top});
    strokes.push_back({r.left + 1, r.bottom, r.right - 1, r.bottom + 1});
    strokes.push_back({r.left - 1, r.top + 1, r.left, r.bottom - 1});
    strokes.push_back({r.right, r.top + 1, r.right + 1, r.bottom - 1});
  }
  return strokes;
}
