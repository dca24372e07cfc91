#include "ui/bmp_file.h"

namespace {

constexpr size_t FILE_HEADER_BYTES = 14;
constexpr uint32_t CORE_HEADER_BYTES = 12;
constexpr uint32_t INFO_HEADER_BYTES = 40;

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

void Put16(std::vector<uint8_t>& b, uint32_t value) {
  b.push_back(static_cast<uint8_t>(value));
  b.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t value) {
  Put16(b, value & 0xFFFF);
  Put16(b, value >> 16);
}

uint64_t RowBytes(uint64_t width, uint32_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// Where the pixel data of `rows` rows from `offset` ends; UINT64_MAX when
// that is past any file.
uint64_t PixelDataEnd(uint64_t offset, uint64_t rowBytes, uint64_t rows) {
  if (rows != 0 && rowBytes > (UINT64_MAX - offset) / rows) return UINT64_MAX;
  return offset + rowBytes * rows;
}

bool KnownDepth(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the info header (or the old core header) into info; false when the
// header does not describe a picture.
bool ReadInfoHeader(const std::vector<uint8_t>& file, BmpInfo& info) {
  const uint32_t headerSize = Read32(file, FILE_HEADER_BYTES);
  info.HeaderBytes = headerSize;
  const size_t at = FILE_HEADER_BYTES + 4;
  if (headerSize == CORE_HEADER_BYTES) {
    info.Width = Read16(file, at);
    info.Height = Read16(file, at + 2);
    if (Read16(file, at + 4) != 1) return false;
    info.BitsPerPixel = Read16(file, at + 6);
    info.Compression = BMP_RGB;
    return true;
  }
  if (headerSize < INFO_HEADER_BYTES || file.size() < FILE_HEADER_BYTES + INFO_HEADER_BYTES) return false;
  info.Width = static_cast<int32_t>(Read32(file, at));
  const auto height = static_cast<int32_t>(Read32(file, at + 4));
  if (Read16(file, at + 8) != 1) return false;
  info.BitsPerPixel = Read16(file, at + 10);
  info.Compression = Read32(file, at + 12);
  info.ImageBytes = Read32(file, at + 16);
  // INT32_MIN has no positive counterpart.
  if (height == INT32_MIN) return false;
  info.TopDown = height < 0;
  info.Height = height < 0 ? -height : height;
  return true;
}

}  // namespace

BmpCheck CheckBmpHeaders(const std::vector<uint8_t>& start) {
  BmpCheck check;
  if (start.size() < FILE_HEADER_BYTES + CORE_HEADER_BYTES || start[0] != 'B' || start[1] != 'M') return check;
  BmpInfo& info = check.Info;
  info.FileSizeField = Read32(start, 2);
  info.PixelOffset = Read32(start, 10);
  if (!ReadInfoHeader(start, info)) return check;
  if (info.Width <= 0 || info.Height <= 0 || !KnownDepth(info.BitsPerPixel)) return check;
  const bool compressed = info.Compression == BMP_RLE8 || info.Compression == BMP_RLE4;
  if (!compressed && info.Compression != BMP_RGB && info.Compression != BMP_BITFIELDS) return check;
  // Pixel data that starts inside the headers is no picture's.
  if (info.PixelOffset < uint64_t{FILE_HEADER_BYTES} + info.HeaderBytes) return check;
  check.DeclaredBytes = compressed ? uint64_t{info.PixelOffset} + info.ImageBytes
                                   : PixelDataEnd(info.PixelOffset,
                                                  RowBytes(static_cast<uint64_t>(info.Width), info.BitsPerPixel),
                                                  static_cast<uint64_t>(info.Height));
  // Compressed or not, the picture would be decoded whole.
  if (static_cast<uint64_t>(info.Width) * static_cast<uint64_t>(info.Height) > BMP_MAX_PIXELS)
    check.Problem = BmpProblem::TOO_LARGE;
  else
    check.Problem = compressed ? BmpProblem::COMPRESSED : BmpProblem::NONE;
  return check;
}

BmpProblem CheckBmpLength(const BmpCheck& headers, uint64_t fileBytes, BmpLength length) {
  if (headers.Problem == BmpProblem::DAMAGED || headers.DeclaredBytes > fileBytes) return BmpProblem::DAMAGED;
  const bool uncompressed = headers.Info.Compression == BMP_RGB || headers.Info.Compression == BMP_BITFIELDS;
  if (length == BmpLength::EXACT && uncompressed &&
      (headers.DeclaredBytes != fileBytes || headers.Info.FileSizeField != fileBytes))
    return BmpProblem::DAMAGED;
  return headers.Problem;
}

BmpCheck CheckBmp(const std::vector<uint8_t>& file) {
  BmpCheck check = CheckBmpHeaders(file);
  check.Problem = CheckBmpLength(check, file.size(), BmpLength::AT_LEAST);
  return check;
}

std::vector<uint8_t> EncodeBmp24(const NxBitmap& picture) {
  const auto width = static_cast<uint32_t>(picture.Width());
  const auto height = static_cast<uint32_t>(picture.Height());
  const auto rowBytes = static_cast<uint32_t>(RowBytes(width, 24));
  const uint32_t offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
  const uint32_t imageBytes = rowBytes * height;
  std::vector<uint8_t> out;
  out.reserve(offset + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);
  Put32(out, 0);  // reserved
  Put32(out, offset);
  Put32(out, INFO_HEADER_BYTES);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, BMP_RGB);
  Put32(out, imageBytes);
  Put32(out, 3780);  // 96 dots per inch, in dots per metre
  Put32(out, 3780);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours
  for (int32_t y = picture.Height() - 1; y >= 0; --y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      const uint32_t p = picture.Pixel(x, y);
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 8));
      out.push_back(static_cast<uint8_t>(p >> 16));
    }
    for (uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

NxBitmap DecodeBmpTrueColour(const std::vector<uint8_t>& file) {
  const BmpCheck check = CheckBmp(file);
  const BmpInfo& info = check.Info;
  if (check.Problem != BmpProblem::NONE || info.Compression != BMP_RGB ||
      (info.BitsPerPixel != 24 && info.BitsPerPixel != 32))
    return {};
  const size_t bytesPerPixel = info.BitsPerPixel / 8;
  const auto rowBytes = static_cast<size_t>(RowBytes(static_cast<uint64_t>(info.Width), info.BitsPerPixel));
  NxBitmap picture(info.Width, info.Height);
  for (int32_t row = 0; row < info.Height; ++row) {
    const int32_t y = info.TopDown ? row : info.Height - 1 - row;
    size_t at = info.PixelOffset + static_cast<size_t>(row) * rowBytes;
    for (int32_t x = 0; x < info.Width; ++x, at += bytesPerPixel)
      picture.SetPixel(x, y, static_cast<uint32_t>(file[at]) | (static_cast<uint32_t>(file[at + 1]) << 8) |
                                 (static_cast<uint32_t>(file[at + 2]) << 16));
  }
  return picture;
}
