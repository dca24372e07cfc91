#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "table/bitmap.h"
#include "game/rect.h"

// The fixed marks drawn into every backdrop, without any toolkit: where they
// go, in which colour and at which size. All places are in table pixels.

constexpr uint32_t WHITE_MARKS = 0x00FFFFFF;
constexpr uint32_t BLACK_MARKS = 0x00000000;

// White on a dark knock area, black on a light one: the mean of
// (red + green + blue) / 3 over the knock area, both edges included, decides.
// The backdrop is the table drawn at `scale`.
uint32_t LabelColour(const NxBitmap& backdrop, double scale);
// The same rule in two steps, for a caller that converts only the knock
// area of a large picture: the device pixels that decide, and the colour
// for those pixels alone (`sample` holds exactly that area).
TRect LabelSampleArea(double scale);
uint32_t LabelColourOfSample(const NxBitmap& sample);

// 12 points, or 10 when the default font is so large that "Discard" takes
// 57 pixels or more.
int32_t LabelPointSize(int32_t discardWidthPixels);
// The label font's em height in table pixels (the table is laid out at 96
// pixels per inch, whatever the screen).
int32_t LabelPixelHeight(int32_t points);

struct LabelPlace {
  const char* Text;
  int32_t X;         // centre
  int32_t Baseline;  // y of the baseline
};
std::array<LabelPlace, 5> LabelPlaces();

// The pixel runs that make up the three outlines: a one-pixel frame inset by
// one from each area, and one line outside each side that leaves the
// corners open.
std::vector<TRect> OutlineStrokes();
