#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "table/bitmap.h"

// The Windows bitmap file layout (.bmp): checking a file's headers before any
// decoder sees it, and writing a picture as an uncompressed 24-bit file.

enum class BmpProblem {
  NONE,
  DAMAGED,     // not a bitmap, inconsistent headers or truncated pixel data
  COMPRESSED,  // run-length encoded (4 or 8 bits per pixel)
  TOO_LARGE,   // more pixels than a backdrop is ever worth loading
};

// Compression field values of the info header.
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;
constexpr uint32_t BMP_BITFIELDS = 3;

constexpr uint32_t BMP_MAX_PIXELS = 48u * 1024u * 1024u;  // 192 MiB once decoded to 32 bits

struct BmpInfo {
  uint32_t FileSizeField = 0;  // the file header's size of the whole file
  uint32_t HeaderBytes = 0;    // of the info (or core) header
  int32_t Width = 0;
  int32_t Height = 0;  // always positive; TopDown tells the row order
  bool TopDown = false;
  uint16_t BitsPerPixel = 0;
  uint32_t Compression = BMP_RGB;
  uint32_t PixelOffset = 0;
  uint32_t ImageBytes = 0;  // the info header's size of the pixel data; what compressed data declares
};

struct BmpCheck {
  BmpProblem Problem = BmpProblem::DAMAGED;
  BmpInfo Info;
  // How far into the file the headers say the picture reaches: the end of
  // the pixel data (UINT64_MAX when that is past any file). Set when
  // Problem is NONE, COMPRESSED or TOO_LARGE.
  uint64_t DeclaredBytes = 0;
};

// How a file's length must match what its headers declare. A bitmap from
// elsewhere may carry bytes after its pixel data; BACKIMG.QLF as the game
// writes it ends with its rows, and its file header gives that size.
enum class BmpLength { AT_LEAST, EXACT };

// The verdict on a file of fileBytes whose headers gave `headers`: DAMAGED
// when they declare more than the file holds, however much that is (a
// header claiming a huge picture over a few bytes is damaged, not large),
// and for EXACT when an uncompressed picture's file goes on past its rows or
// its size field says otherwise; otherwise the headers' own verdict.
BmpProblem CheckBmpLength(const BmpCheck& headers, uint64_t fileBytes, BmpLength length);

// The file and info headers: all CheckBmpHeaders needs to see.
constexpr size_t BMP_HEADERS_BYTES = 54;

// Checks the headers alone, given the file's first BMP_HEADERS_BYTES bytes
// (all of a shorter file): every check of CheckBmp but the file's length,
// so that a reader learns how much to read, and whether the file holds
// it, before reading it.
BmpCheck CheckBmpHeaders(const std::vector<uint8_t>& start);

// Validates the file and info headers against the whole file's bytes
// (CheckBmpLength, AT_LEAST): every row of an uncompressed picture and all
// the data a compressed one declares must be present, so a decoder given
// these bytes never reads past their end.
BmpCheck CheckBmp(const std::vector<uint8_t>& file);

// Bottom-up rows of blue, green, red bytes, each row padded to four bytes;
// the top byte of the 0x00RRGGBB pixels is ignored.
std::vector<uint8_t> EncodeBmp24(const NxBitmap& picture);

// Decodes an uncompressed 24- or 32-bit file that CheckBmp accepted; an empty
// bitmap for anything else.
NxBitmap DecodeBmpTrueColour(const std::vector<uint8_t>& file);
