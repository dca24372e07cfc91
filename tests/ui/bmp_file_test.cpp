#include "ui/bmp_file.h"

#include <gtest/gtest.h>

#include "corpus_replay.h"
#include "fuzz_entries.h"

namespace {

NxBitmap Gradient(int32_t width, int32_t height) {
  NxBitmap picture(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      picture.SetPixel(x, y, static_cast<uint32_t>((x * 37) & 0xFF) << 16 | static_cast<uint32_t>((y * 53) & 0xFF) << 8 |
                                 static_cast<uint32_t>((x + y) & 0xFF));
  return picture;
}

void Set32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

constexpr size_t HEIGHT_FIELD = 22;
constexpr size_t COMPRESSION_FIELD = 30;

}  // namespace

TEST(BmpFile, RoundTripKeepsEveryPixelAcrossRowPadding) {
  // 5 pixels of 3 bytes make rows that need padding to 16 bytes.
  const NxBitmap picture = Gradient(5, 3);
  const std::vector<uint8_t> bytes = EncodeBmp24(picture);
  EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
  const BmpCheck check = CheckBmp(bytes);
  ASSERT_EQ(check.Problem, BmpProblem::NONE);
  EXPECT_EQ(check.Info.Width, 5);
  EXPECT_EQ(check.Info.Height, 3);
  EXPECT_EQ(check.Info.BitsPerPixel, 24);
  const NxBitmap back = DecodeBmpTrueColour(bytes);
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.Height(), 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(back.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
}

TEST(BmpFile, TopDownRowsAreReadInTheirOrder) {
  const NxBitmap picture = Gradient(4, 2);
  std::vector<uint8_t> bytes = EncodeBmp24(picture);
  Set32(bytes, HEIGHT_FIELD, static_cast<uint32_t>(-2));
  const NxBitmap back = DecodeBmpTrueColour(bytes);
  ASSERT_EQ(back.Height(), 2);
  EXPECT_EQ(back.Pixel(0, 0), picture.Pixel(0, 1));
  EXPECT_EQ(back.Pixel(0, 1), picture.Pixel(0, 0));
}

TEST(BmpFile, RunLengthEncodingIsReportedAsCompressed) {
  for (uint32_t compression : {BMP_RLE8, BMP_RLE4}) {
    std::vector<uint8_t> bytes = EncodeBmp24(Gradient(4, 4));
    Set32(bytes, COMPRESSION_FIELD, compression);
    EXPECT_EQ(CheckBmp(bytes).Problem, BmpProblem::COMPRESSED) << compression;
    EXPECT_TRUE(DecodeBmpTrueColour(bytes).IsEmpty());
  }
}

TEST(BmpFile, DamagedHeadersAndTruncatedPixelsAreRefused) {
  const std::vector<uint8_t> good = EncodeBmp24(Gradient(8, 8));
  auto damaged = [&](auto change) {
    std::vector<uint8_t> bytes = good;
    change(bytes);
    return CheckBmp(bytes).Problem;
  };
  EXPECT_EQ(damaged([](auto& b) { b.resize(b.size() - 1); }), BmpProblem::DAMAGED);
  EXPECT_EQ(damaged([](auto& b) { b.resize(20); }), BmpProblem::DAMAGED);
  EXPECT_EQ(damaged([](auto& b) { b[0] = 'P'; }), BmpProblem::DAMAGED);
  EXPECT_EQ(damaged([](auto& b) { Set32(b, 18, 0); }), BmpProblem::DAMAGED);                  // width 0
  EXPECT_EQ(damaged([](auto& b) { Set32(b, HEIGHT_FIELD, 0x80000000u); }), BmpProblem::DAMAGED);
  EXPECT_EQ(damaged([](auto& b) { b[28] = 7; }), BmpProblem::DAMAGED);                         // 7 bits per pixel
  EXPECT_EQ(damaged([](auto& b) { Set32(b, COMPRESSION_FIELD, 4); }), BmpProblem::DAMAGED);    // embedded JPEG
  EXPECT_EQ(damaged([](auto& b) { Set32(b, 10, 0xFFFFFFF0u); }), BmpProblem::DAMAGED);         // pixels past the end
  EXPECT_EQ(damaged([](auto& b) { Set32(b, 10, 40); }), BmpProblem::DAMAGED);                  // pixels in the header
  EXPECT_EQ(damaged([](auto& b) { Set32(b, COMPRESSION_FIELD, BMP_RLE8); Set32(b, 34, 4096); }),
            BmpProblem::DAMAGED);  // run-length data past the end
  // A header claiming 10^10 pixels over a few bytes: too large by its
  // headers alone, and damaged, not large, as a file.
  std::vector<uint8_t> huge = good;
  Set32(huge, 18, 100000);
  Set32(huge, HEIGHT_FIELD, 100000);
  EXPECT_EQ(CheckBmpHeaders(huge).Problem, BmpProblem::TOO_LARGE);
  EXPECT_EQ(CheckBmp(huge).Problem, BmpProblem::DAMAGED);
  EXPECT_EQ(CheckBmp({}).Problem, BmpProblem::DAMAGED);
}

// The seed corpus of the reader's fuzzer (palette, core header, bit fields,
// top-down and run-length files), whole and cut short: the header check,
// the file reader and the decoder agree and stay within the bytes.
TEST(BmpFile, TheFuzzCorpusIsTakenWholeAndCutShort) {
  const std::string corpus = std::string(QUORLA_FUZZ_CORPUS) + "/bmp";
  ReplayCorpus(corpus, FuzzBmpReader);
  for (const auto& input : CorpusInputs(corpus)) EXPECT_NE(CheckBmp(input).Problem, BmpProblem::DAMAGED);
}
