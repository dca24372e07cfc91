#include "ui/backdrop_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

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
  // Sparse: no disk, no time; large enough to hold the pixels of a picture
  // over the limit, which is refused for its size, not as cut short.
  constexpr uintmax_t HUGE_FILE = 256u << 20;
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
  // A cut short file: refused on its length, before its pixels are read.
  Write(Path("SHORT.QLF"), declaresMoreThanThere);
  const BmpFileRead read = ReadBmpFile(Path("SHORT.QLF"));
  EXPECT_STREQ(read.Cause, backdrop_text::GDI_ERROR);
  EXPECT_TRUE(read.Bytes.empty());
}

// Bitmaps cut short, extended, or with their size fields rewritten, read
// both as scenery from elsewhere and as the game's own BACKIMG.QLF: a file
// is taken only when it holds every byte its headers declare (as the game's
// own file, exactly those and a true file size), only those bytes are read,
// and headers claiming more than the file holds are named as damage
// however large a picture they claim.
TEST_F(BackdropFileTest, EveryResizedOrReheaderedBitmapIsTakenOnlyWhenItHoldsItsPixels) {
  std::mt19937 random(7151);
  NxBitmap picture(37, 23);
  for (int32_t y = 0; y < 23; ++y)
    for (int32_t x = 0; x < 37; ++x) picture.SetPixel(x, y, static_cast<uint32_t>(x * 7919 + y * 104729));
  const std::vector<uint8_t> good = EncodeBmp24(picture);
  auto field = [](const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return value;
  };
  auto set = [](std::vector<uint8_t>& b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  const uint32_t sizes[] = {1, 2, 22, 23, 24, 37, 100, 8000, 100000, 0x7FFFFFFF};
  const std::string path = Path("BACKIMG.QLF");
  int taken = 0, takenExactly = 0;
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<uint8_t> bytes = good;
    for (int change = 1 + random() % 2; change > 0; --change) {
      switch (random() % 6) {
        case 0: bytes.resize(BMP_HEADERS_BYTES + random() % (bytes.size() - BMP_HEADERS_BYTES)); break;
        case 1: bytes.resize(bytes.size() + 1 + random() % 3000, static_cast<uint8_t>(random())); break;
        case 2: set(bytes, 18 + 4 * (random() % 2), sizes[random() % std::size(sizes)], 4); break;  // width, height
        case 3: set(bytes, 28, std::array<uint32_t, 5>{1, 8, 16, 24, 32}[random() % 5], 2); break;  // depth
        case 4: set(bytes, 10, 54 + random() % 3 * 4, 4); break;                                    // pixel offset
        default: set(bytes, 2, static_cast<uint32_t>(bytes.size() + random() % 3 - 1), 4);           // file size
      }
    }
    Write(path, bytes);
    const BmpFileRead scenery = ReadBmpFile(path);
    const BmpFileRead own = ReadBmpFile(path, BmpLength::EXACT);
    // What the headers declare, worked out here on its own.
    const uint64_t width = field(bytes, 18, 4), height = field(bytes, 22, 4), depth = field(bytes, 28, 2);
    const uint64_t offset = field(bytes, 10, 4);
    const long double declared = offset + static_cast<long double>((width * depth + 31) / 32 * 4) * height;
    const long double fileBytes = bytes.size();
    const bool pictureFits = width * height <= BMP_MAX_PIXELS && declared <= BACKDROP_MAX_FILE_BYTES;
    const bool exact = declared == fileBytes && field(bytes, 2, 4) == bytes.size();
    if (declared > fileBytes) {
      EXPECT_STREQ(scenery.Cause, backdrop_text::GDI_ERROR);
      EXPECT_STREQ(own.Cause, backdrop_text::GDI_ERROR);
    } else if (pictureFits) {
      EXPECT_EQ(scenery.Cause, nullptr);
      EXPECT_EQ(scenery.Bytes.size(), static_cast<size_t>(declared));
      EXPECT_STREQ(own.Cause, exact ? nullptr : backdrop_text::GDI_ERROR);
    } else {
      EXPECT_STREQ(scenery.Cause, backdrop_text::NO_MEMORY);
    }
    EXPECT_TRUE(!scenery.Cause || scenery.Bytes.empty());
    EXPECT_TRUE(own.Cause || own.Bytes == bytes);
    taken += !scenery.Cause;
    takenExactly += !own.Cause;
  }
  // The rounds reach every outcome, not only refusals.
  EXPECT_GT(taken, 40);
  EXPECT_GT(takenExactly, 10);
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
  // Loaded as the game's own backdrop file: exactly its rows.
  const BmpFileRead read = ReadBmpFile(QUORLA_DEFAULT_BACKDROP, BmpLength::EXACT);
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
