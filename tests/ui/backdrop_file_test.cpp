#include "ui/backdrop_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_files.h"

namespace {

class BackdropFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("quorla-backdrop-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Path(const char* name) const { return (Dir / name).string(); }
  void Write(const std::string& path, const std::vector<uint8_t>& bytes) const {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::path Dir;
};

}  // namespace

TEST_F(BackdropFileTest, EachFailureNamesItsCause) {
  EXPECT_STREQ(ReadBmpFile(Path("missing.bmp")).Cause, backdrop_text::CANNOT_ACCESS);
  Write(Path("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_STREQ(ReadBmpFile(Path("text.bmp")).Cause, backdrop_text::GDI_ERROR);
  std::vector<uint8_t> truncated = EncodeBmp24(NxBitmap(576, 384, 0x123456));
  truncated.resize(truncated.size() / 2);
  Write(Path("half.bmp"), truncated);
  EXPECT_STREQ(ReadBmpFile(Path("half.bmp")).Cause, backdrop_text::GDI_ERROR);
  std::vector<uint8_t> rle = EncodeBmp24(NxBitmap(4, 4));
  rle[30] = BMP_RLE8;
  Write(Path("rle.bmp"), rle);
  const BmpFileRead read = ReadBmpFile(Path("rle.bmp"));
  EXPECT_TRUE(read.Compressed);
  EXPECT_EQ(read.Cause, nullptr);

  BlockingGuard guard(20);
  for (BadFile kind : NOT_REGULAR_FILES) {
    PlantBadFile(kind, Path("BACKIMG.QLF"));
    EXPECT_STREQ(ReadBmpFile(Path("BACKIMG.QLF")).Cause, backdrop_text::CANNOT_ACCESS) << Describe(kind);
  }
}

// The headers are read first, then only the bytes they declare and the file
// holds: what lies beyond, or a huge file that is no bitmap, is never read.
TEST_F(BackdropFileTest, OnlyWhatTheHeadersDeclareIsRead) {
  constexpr uintmax_t HUGE_FILE = 100u << 20;  // sparse: no disk, no time
  const std::vector<uint8_t> picture = EncodeBmp24(NxBitmap(576, 384, 0x123456));
  auto declaring = [&picture](uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes = picture;
    for (auto [at, value] : {std::pair<size_t, uint32_t>{18, width}, {22, height}, {28, 32}})
      for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
  };
  const std::vector<uint8_t> declaresTooMuch = declaring(8000, 6000);  // 192 MB of pixels
  const std::vector<uint8_t> declaresMoreThanThere = declaring(8000, 200);
  struct Case {
    const char* name;
    std::vector<uint8_t> start;
    const char* cause;
    size_t bytesRead;
  };
  const Case cases[] = {
      {"noise", std::vector<uint8_t>(4096, 0x5a), backdrop_text::GDI_ERROR, BMP_HEADERS_BYTES},
      {"picture and trailing data", picture, nullptr, picture.size()},
      {"more pixels than the limit", declaresTooMuch, backdrop_text::NO_MEMORY, 0},
  };
  for (const Case& c : cases) {
    Write(Path("BIG.QLF"), c.start);
    std::filesystem::resize_file(Path("BIG.QLF"), HUGE_FILE);
    const BmpFileRead read = ReadBmpFile(Path("BIG.QLF"));
    EXPECT_STREQ(read.Cause, c.cause) << c.name;
    EXPECT_EQ(read.Bytes.size(), c.bytesRead) << c.name;
  }
  // A cut short file: no more memory than the file holds.
  Write(Path("SHORT.QLF"), declaresMoreThanThere);
  const BmpFileRead read = ReadBmpFile(Path("SHORT.QLF"));
  EXPECT_STREQ(read.Cause, backdrop_text::GDI_ERROR);
  EXPECT_EQ(read.Bytes.size(), declaresMoreThanThere.size());
}

TEST_F(BackdropFileTest, MessagesAreComposedFromCausePathAndOutcome) {
  EXPECT_EQ(LoadFailureMessage(backdrop_text::CANNOT_ACCESS, "/c/BACKIMG.QLF"),
            (BackdropMessage{"Quorla Backdrop Scenery Error",
                             "Cannot access backdrop bitmap file /c/BACKIMG.QLF. Using default backdrop instead.",
                             BackdropIcon::EXCLAMATION}));
  EXPECT_EQ(ChoiceFailureMessage(backdrop_text::NO_MEMORY, "/p/big.bmp").Text,
            "Insufficient memory to load backdrop image /p/big.bmp. Continuing with current backdrop instead.");
  EXPECT_EQ(ChoiceFailureMessage(backdrop_text::NO_MEMORY, "/p/big.bmp").Caption, "New Backdrop Scenery Error");
  EXPECT_EQ(CompressedMessage().Text, "Image is Compressed. Quorla cannot display compressed bitmaps.");
}

TEST_F(BackdropFileTest, AFailedWriteKeepsThePreviousFile) {
  const std::string path = Path("BACKIMG.QLF");
  ASSERT_FALSE(WriteBackdropFile(path, NxBitmap(576, 384, 0x00112233)).has_value());
  const BmpFileRead first = ReadBmpFile(path);
  ASSERT_EQ(first.Cause, nullptr);
  EXPECT_EQ(DecodeBmpTrueColour(first.Bytes).Pixel(10, 10), 0x00112233u);

  // A destination that is no regular file is never replaced.
  const std::string blocked = Path("BLOCKED.QLF");
  std::filesystem::create_directory(blocked);
  const auto failed = WriteBackdropFile(blocked, NxBitmap(576, 384, 0x00FFFFFF));
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->Caption, "New Backdrop Scenery Error");
  EXPECT_EQ(failed->Text, "Problem writing " + blocked +
                              "--disk may be full or inaccessible. Continuing with current backdrop instead.");
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_EQ(ReadBmpFile(path).Bytes, first.Bytes);
}

#ifdef QUORLA_DEFAULT_BACKDROP
TEST(DefaultBackdrop, IsATableSizedTrueColourBitmapOfTexturedGreen) {
  const BmpFileRead read = ReadBmpFile(QUORLA_DEFAULT_BACKDROP);
  ASSERT_EQ(read.Cause, nullptr);
  const NxBitmap picture = DecodeBmpTrueColour(read.Bytes);
  ASSERT_EQ(picture.Width(), 576);
  ASSERT_EQ(picture.Height(), 384);
  size_t differing = 0;
  for (int32_t y = 0; y < 384; ++y)
    for (int32_t x = 0; x < 576; ++x) {
      const uint32_t p = picture.Pixel(x, y);
      const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
      EXPECT_TRUE(g > r + 40 && g > b + 30) << x << "," << y;
      differing += p != picture.Pixel(0, 0);
      if (HasFailure()) return;
    }
  EXPECT_GT(differing, 576u * 384u / 2);
}
#endif
