#include "ui/backdrop_loading.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>

#include "store/setting_keys.h"
#include "store/settings_store.h"
#include "ui/backdrop.h"
#include "ui/backdrop_file.h"
#include "ui/image_convert.h"
#include "test_files.h"

namespace {

class BackdropLoadingTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)).toStdString(); }
  void Write(const std::string& path, const QByteArray& bytes) const {
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
  }
  QByteArray Bmp(const QImage& image) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
  }
  // An uncompressed 8-bit file with a grey palette, all pixels index 100.
  QByteArray EightBit(int width, int height) const {
    const int rowBytes = (width + 3) / 4 * 4;
    const int offset = 14 + 40 + 256 * 4;
    QByteArray bytes;
    auto put = [&](uint32_t value, int count) {
      for (int i = 0; i < count; ++i) bytes.append(static_cast<char>(value >> (8 * i)));
    };
    bytes.append("BM");
    put(offset + rowBytes * height, 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(8, 2);
    put(0, 4);
    put(rowBytes * height, 4);
    put(0, 4);  // horizontal and vertical resolution, colours used, colours important
    put(0, 4);
    put(0, 4);
    put(0, 4);
    for (uint32_t i = 0; i < 256; ++i) put(i | i << 8 | i << 16, 4);
    bytes.append(QByteArray(rowBytes * height, 100));
    return bytes;
  }
  QImage Solid(int width, int height, QRgb colour) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
  }

  QTemporaryDir Dir;
  SettingsStore Settings{"Quorla", Path("QUORLA.INI"), true};
  const QImage Plain = PlainBackdrop(1);
};

}  // namespace

TEST_F(BackdropLoadingTest, DisabledSceneryReadsNothingAndSaysNothing) {
  WriteSetting(Settings, keys::DisableScenery, 1);
  const BackdropLoad load = LoadBackdrop(Path("BACKIMG.QLF"), 1, Settings, 32);
  EXPECT_TRUE(load.Plain);
  EXPECT_TRUE(load.Messages.empty());
  EXPECT_EQ(load.Backdrop, Plain);
}

TEST_F(BackdropLoadingTest, ABadBackdropFileGivesItsMessageAndThePlainBackdrop) {
  WriteSetting(Settings, keys::ColorResolution32, 32);
  const QByteArray good = Bmp(Solid(576, 384, 0xFF336699));
  QByteArray truncated = good;
  truncated.chop(1000);
  // 10^10 pixels declared over 1,000 bytes of them.
  QByteArray huge = good.left(54 + 1000);
  for (int at : {18, 22}) huge.replace(at, 4, QByteArray::fromHex("a0860100"));
  // The game writes exactly the rows and their size: anything else means
  // the headers no longer describe what was written.
  QByteArray longer = good + QByteArray(3000, '\0');
  QByteArray misstated = good;
  misstated[2] = static_cast<char>(misstated[2] + 1);
  const std::pair<QByteArray, const char*> cases[] = {
      {QByteArray("GIF89a not a bitmap at all"), backdrop_text::GDI_ERROR},
      {truncated, backdrop_text::GDI_ERROR},
      {QByteArray(), backdrop_text::GDI_ERROR},
      {huge, backdrop_text::GDI_ERROR},
      {longer, backdrop_text::GDI_ERROR},
      {misstated, backdrop_text::GDI_ERROR},
  };
  const std::string path = Path("BACKIMG.QLF");
  for (const auto& [bytes, cause] : cases) {
    Write(path, bytes);
    const BackdropLoad load = LoadBackdrop(path, 1, Settings, 32);
    EXPECT_TRUE(load.Plain);
    EXPECT_EQ(load.Backdrop, Plain);
    ASSERT_EQ(load.Messages.size(), 1u);
    EXPECT_EQ(load.Messages[0].Caption, "Quorla Backdrop Scenery Error");
    EXPECT_EQ(load.Messages[0].Text, cause + path + ". Using default backdrop instead. The damaged file has been kept as " +
                                         path + ".damaged.");
    // Kept as it was, out of the way.
    EXPECT_EQ(ReadAll(path + ".damaged"), std::vector<unsigned char>(bytes.begin(), bytes.end()));
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  const BackdropLoad missing = LoadBackdrop(path, 1, Settings, 32);
  ASSERT_EQ(missing.Messages.size(), 1u);
  EXPECT_EQ(missing.Messages[0].Text, "Cannot access backdrop bitmap file " + path + ". Using default backdrop instead.");
}

TEST_F(BackdropLoadingTest, AGoodFileIsLoadedDecoratedAndAResolutionChangeIsPointedOut) {
  const std::string path = Path("BACKIMG.QLF");
  Write(path, Bmp(Solid(576, 384, 0xFFE0E0A0)));
  WriteSetting(Settings, keys::ColorResolution32, 8);  // scenery chosen on an 8-bit screen
  const BackdropLoad load = LoadBackdrop(path, 2, Settings, 24);
  EXPECT_FALSE(load.Plain);
  ASSERT_EQ(load.Messages.size(), 1u);
  EXPECT_EQ(load.Messages[0].Caption, "Quorla Backdrop Scenery Warning");
  ASSERT_EQ(load.Backdrop.size(), QSize(1152, 768));
  EXPECT_EQ(load.Backdrop.pixel(4, 4), 0xFFE0E0A0u);
  EXPECT_EQ(load.Backdrop.pixel(174 * 2, 145 * 2), 0xFF000000u);  // black marks on a light picture
  EXPECT_TRUE(LoadBackdrop(path, 2, Settings, 24).Messages.empty());
}

TEST_F(BackdropLoadingTest, CompressedSceneryIsRefusedAndNothingIsWritten) {
  QByteArray bytes = EightBit(64, 64);
  bytes[30] = 1;  // BI_RLE8
  Write(Path("rle.bmp"), bytes);
  const SceneryChoice choice = ChooseScenery(Path("rle.bmp"), Path("BACKIMG.QLF"), 1, 32, {});
  EXPECT_TRUE(choice.Backdrop.isNull());
  ASSERT_TRUE(choice.Message.has_value());
  EXPECT_EQ(choice.Message->Caption, "New Backdrop Scenery Error");
  EXPECT_EQ(choice.Message->Text, "Image is Compressed. Quorla cannot display compressed bitmaps.");
  EXPECT_FALSE(std::filesystem::exists(Path("BACKIMG.QLF")));
  const SceneryChoice unreadable = ChooseScenery(Path("none.bmp"), Path("BACKIMG.QLF"), 1, 32, {});
  ASSERT_TRUE(unreadable.Message.has_value());
  EXPECT_EQ(unreadable.Message->Text,
            "Cannot access backdrop bitmap file " + Path("none.bmp") + ". Continuing with current backdrop instead.");
  // Headers claiming 10^10 pixels over a few bytes of them are damage.
  QByteArray huge = EightBit(64, 64);
  for (int at : {18, 22}) huge.replace(at, 4, QByteArray::fromHex("a0860100"));
  Write(Path("huge.bmp"), huge);
  const SceneryChoice damaged = ChooseScenery(Path("huge.bmp"), Path("BACKIMG.QLF"), 1, 32, {});
  ASSERT_TRUE(damaged.Message.has_value());
  EXPECT_EQ(damaged.Message->Text,
            "GDI error while loading bitmap image " + Path("huge.bmp") + ". Continuing with current backdrop instead.");
  EXPECT_FALSE(std::filesystem::exists(Path("BACKIMG.QLF")));
}

TEST_F(BackdropLoadingTest, ChosenSceneryIsStretchedStoredAndLoadedAgain) {
  // A bitmap from elsewhere may carry bytes after its pixels.
  Write(Path("wide.bmp"), Bmp(Solid(100, 40, 0xFF204080)) + QByteArray(500, 'x'));
  const SceneryChoice choice = ChooseScenery(Path("wide.bmp"), Path("BACKIMG.QLF"), 2, 32, {});
  EXPECT_FALSE(choice.Message.has_value());
  ASSERT_EQ(choice.Backdrop.size(), QSize(1152, 768));
  EXPECT_EQ(choice.Backdrop.pixel(2, 2), 0xFF204080u);
  const BmpFileRead stored = ReadBmpFile(Path("BACKIMG.QLF"));
  ASSERT_EQ(stored.Cause, nullptr);
  EXPECT_EQ(stored.Info.Width, 576);
  EXPECT_EQ(stored.Info.Height, 384);
  EXPECT_EQ(stored.Info.BitsPerPixel, 24);
  WriteSetting(Settings, keys::ColorResolution32, 32);
  const BackdropLoad load = LoadBackdrop(Path("BACKIMG.QLF"), 2, Settings, 32);
  EXPECT_TRUE(load.Messages.empty());
  EXPECT_EQ(load.Backdrop, choice.Backdrop);
}

TEST_F(BackdropLoadingTest, PicturesOfOtherFormatsBecomeTheSameBitmapAndBadOnesKeepTheOldOne) {
  for (const char* format : {"PNG", "JPEG"}) {
    SCOPED_TRACE(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(Solid(90, 60, 0xFF808080).save(&buffer, format));
    Write(Path("photo"), bytes);  // no suffix: the contents tell the format
    const SceneryChoice choice = ChooseScenery(Path("photo"), Path("BACKIMG.QLF"), 1, 32, {});
    ASSERT_FALSE(choice.Message.has_value()) << choice.Message->Text;
    const BmpFileRead stored = ReadBmpFile(Path("BACKIMG.QLF"));
    ASSERT_EQ(stored.Cause, nullptr);
    EXPECT_EQ(stored.Info.Width, 576);
    EXPECT_EQ(stored.Info.Height, 384);
    EXPECT_EQ(stored.Info.BitsPerPixel, 24);
    EXPECT_NEAR(qRed(choice.Backdrop.pixel(2, 2)), 0x80, 3);  // JPEG is lossy
  }
  const auto good = ReadBmpFile(Path("BACKIMG.QLF")).Bytes;

  // A few header bytes declaring a picture of 9 * 10^8 pixels, a truncated
  // one, garbage, a file too large to be a picture, and no file at all.
  Write(Path("huge.ppm"), QByteArray("P6\n30000 30000\n255\n") + QByteArray(64, 'x'));
  Write(Path("cut.ppm"), QByteArray("P6\n100 100\n255\n") + QByteArray(64, 'x'));
  Write(Path("garbage.png"), QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(200, '\0'));
  Write(Path("large.jpg"), QByteArray("\xff\xd8"));
  std::filesystem::resize_file(Path("large.jpg"), PICTURE_MAX_FILE_BYTES + 1);
  std::filesystem::create_directory(Path("folder.png"));
  const std::pair<const char*, std::string> cases[] = {
      {"huge.ppm", "Insufficient memory to load backdrop image "},
      {"cut.ppm", "GDI error while loading bitmap image "},
      {"garbage.png", "GDI error while loading bitmap image "},
      {"large.jpg", "Insufficient memory to load backdrop image "},
      {"folder.png", "Cannot access backdrop bitmap file "},
  };
  for (const auto& [name, cause] : cases) {
    SCOPED_TRACE(name);
    const SceneryChoice refused = ChooseScenery(Path(name), Path("BACKIMG.QLF"), 1, 32, {});
    EXPECT_TRUE(refused.Backdrop.isNull());
    ASSERT_TRUE(refused.Message.has_value());
    EXPECT_EQ(refused.Message->Caption, "New Backdrop Scenery Error");
    EXPECT_EQ(refused.Message->Text, cause + Path(name) + ". Continuing with current backdrop instead.");
    EXPECT_EQ(ReadBmpFile(Path("BACKIMG.QLF")).Bytes, good);
  }
}

TEST_F(BackdropLoadingTest, ALowColourDisplayAsksFirstAndAFailedWriteKeepsTheOldFile) {
  Write(Path("eight.bmp"), EightBit(576, 384));
  int asked = 0;
  auto no = [&](const BackdropMessage& question) {
    ++asked;
    EXPECT_EQ(question.Text, "Your display may not have the color resolution to properly display this image. Continue?");
    return false;
  };
  SceneryChoice choice = ChooseScenery(Path("eight.bmp"), Path("BACKIMG.QLF"), 1, 4, no);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(choice.Backdrop.isNull());
  EXPECT_FALSE(choice.Message.has_value());
  EXPECT_FALSE(std::filesystem::exists(Path("BACKIMG.QLF")));
  // A 24-bit picture on an 8-bit display is taken without a question.
  Write(Path("true.bmp"), Bmp(Solid(576, 384, 0xFF101010)));
  choice = ChooseScenery(Path("true.bmp"), Path("BACKIMG.QLF"), 1, 8, no);
  EXPECT_EQ(asked, 1);
  ASSERT_FALSE(choice.Backdrop.isNull());
  const auto before = ReadBmpFile(Path("BACKIMG.QLF")).Bytes;

  std::filesystem::create_directory(Path("BLOCKED.QLF"));
  choice = ChooseScenery(Path("eight.bmp"), Path("BLOCKED.QLF"), 1, 4, [](const BackdropMessage&) { return true; });
  EXPECT_TRUE(choice.Backdrop.isNull());
  ASSERT_TRUE(choice.Message.has_value());
  EXPECT_EQ(choice.Message->Text, "Problem writing " + Path("BLOCKED.QLF") +
                                      "--disk may be full or inaccessible. Continuing with current backdrop instead.");
  EXPECT_TRUE(std::filesystem::is_directory(Path("BLOCKED.QLF")));
  EXPECT_EQ(ReadBmpFile(Path("BACKIMG.QLF")).Bytes, before);
}

// The backdrop's part of the damaged-file campaign (QUORLA_LONG=1: 100
// files): a damaged BACKIMG.QLF is shown as it is only when it reads as
// the game wrote it; otherwise it is refused with its message and kept
// aside byte for byte.
TEST_F(BackdropLoadingTest, EveryDamagedBackdropIsShownAsItIsOrRefusedWithAWordAndKeptAside) {
  WriteSetting(Settings, keys::ColorResolution32, 32);
  const QByteArray good = Bmp(Solid(576, 384, 0xFF336699));
  const char* longMode = std::getenv("QUORLA_LONG");
  const int files = longMode && *longMode && std::string(longMode) != "0" ? 100 : 20;
  std::mt19937 random(912);
  int shown = 0, refused = 0;
  const std::string path = Path("BACKIMG.QLF");
  for (int trial = 0; trial < files; ++trial) {
    QByteArray bytes = good;
    switch (random() % 5) {
      case 0: bytes.truncate(static_cast<int>(random() % bytes.size())); break;
      case 1: bytes.append(QByteArray(1 + static_cast<int>(random() % 2000), static_cast<char>(random()))); break;
      case 2:  // the headers
        bytes[static_cast<int>(random() % 54)] = static_cast<char>(random());
        break;
      case 3:  // the pixels: still a picture
        bytes[54 + static_cast<int>(random() % (bytes.size() - 54))] ^= 0x10;
        break;
      default:
        for (int at = static_cast<int>(random() % bytes.size()), n = 0; n < 32 && at < bytes.size(); ++n, ++at)
          bytes[at] = 0;
    }
    Write(path, bytes);
    std::filesystem::remove(path + ".damaged");
    const BackdropLoad load = LoadBackdrop(path, 1, Settings, 32);
    SCOPED_TRACE("trial " + std::to_string(trial));
    if (load.Messages.empty()) {
      EXPECT_FALSE(load.Plain);
      EXPECT_EQ(ReadAll(path), std::vector<unsigned char>(bytes.begin(), bytes.end())) << "shown, and left as it is";
      ++shown;
    } else {
      ASSERT_EQ(load.Messages.size(), 1u);
      EXPECT_NE(load.Messages[0].Text.find(path + ". Using default backdrop instead."), std::string::npos);
      EXPECT_EQ(ReadAll(path + ".damaged"), std::vector<unsigned char>(bytes.begin(), bytes.end()));
      ++refused;
    }
  }
  std::printf("damaged backdrops: %d, %d shown as they are, %d refused and kept aside, 0 silent\n", files, shown,
              refused);
}
