#include "ui/backdrop_loading.h"

#include <QGuiApplication>
#include <QScreen>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/damaged_file.h"
#include "store/setting_keys.h"
#include "ui/backdrop.h"
#include "ui/backdrop_file.h"
#include "ui/color_resolution.h"
#include "ui/image_convert.h"
#include "ui/scenery_picture.h"

namespace {

// Decodes bytes that ReadBmpFile let through; a null image when the decoder
// still refuses them.
QImage Decode(const BmpFileRead& read) {
  QImage image;
  image.loadFromData(read.Bytes.data(), static_cast<int>(read.Bytes.size()), "BMP");
  return image;
}

}  // namespace

uint32_t ScreenColorResolution() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen && screen->depth() > 0 ? static_cast<uint32_t>(screen->depth()) : 32;
}

BackdropLoad LoadBackdrop(const std::string& backdropPath, double scale, SettingsStore& settings,
                          uint32_t screenResolution) {
  BackdropLoad load;
  load.Backdrop = PlainBackdrop(scale);
  if (ReadSetting(settings, keys::DisableScenery)) return load;
  const ColorResolutionCheck resolution = CheckColorResolution(settings, screenResolution, true);
  if (resolution.Warning) load.Messages.push_back(*resolution.Warning);
  // The game writes the backdrop file as exactly its rows: bytes past them
  // mean the headers no longer describe the picture that was written.
  const BmpFileRead read = ReadBmpFile(backdropPath, BmpLength::EXACT);
  const char* cause = read.Cause;
  QImage picture;
  if (!cause) {
    picture = Decode(read);
    if (picture.isNull()) cause = backdrop_text::GDI_ERROR;
  }
  if (cause) {
    BackdropMessage failed = LoadFailureMessage(cause, backdropPath);
    // A file that is there but damaged is kept for a look and out of the
    // way; one that cannot be reached is left alone.
    if (cause != backdrop_text::CANNOT_ACCESS) {
      const DamagedFile damage = SetDamagedFileAside(backdropPath);
      if (damage.KeptAside) failed.Text += ResourceString(DAMAGED_FILE_KEPT_AS) + damage.Aside + ".";
    }
    load.Messages.push_back(failed);
    return load;
  }
  load.Picture = StretchToTable(picture);
  load.Backdrop = DecoratedBackdrop(load.Picture, scale);
  load.Plain = false;
  return load;
}

namespace {

// Whether to go on with a picture of bitsPerPixel on this screen.
bool ColoursAccepted(uint32_t screenResolution, uint32_t bitsPerPixel, const YesNoQuestion& ask) {
  return !NeedsColorResolutionQuestion(screenResolution, bitsPerPixel) || (ask && ask(ColorResolutionQuestion()));
}

// A chosen Windows bitmap, judged as ever: compressed ones are refused and
// the colour question comes before decoding. Nothing when the choice ends
// here (choice.Message then says why, unless the person declined).
std::optional<QImage> ChosenBitmap(const std::string& file, uint32_t screenResolution, const YesNoQuestion& ask,
                                   SceneryChoice& choice) {
  const BmpFileRead read = ReadBmpFile(file);
  if (read.Compressed) {
    choice.Message = CompressedMessage();
    return std::nullopt;
  }
  if (read.Cause) {
    choice.Message = ChoiceFailureMessage(read.Cause, file);
    return std::nullopt;
  }
  if (!ColoursAccepted(screenResolution, read.Info.BitsPerPixel, ask)) return std::nullopt;
  const QImage picture = Decode(read);
  if (picture.isNull()) {
    choice.Message = ChoiceFailureMessage(backdrop_text::GDI_ERROR, file);
    return std::nullopt;
  }
  return picture;
}

// A chosen picture of another format (PNG, JPEG, ...): read within its
// limits, decoded, then the colour question for its depth.
std::optional<QImage> ChosenPicture(const std::string& file, uint32_t screenResolution, const YesNoQuestion& ask,
                                    SceneryChoice& choice) {
  const PictureFileRead read = ReadPictureFile(file);
  const DecodedPicture decoded = read.Cause ? DecodedPicture{{}, read.Cause} : DecodePicture(read.Bytes);
  if (decoded.Cause) {
    choice.Message = ChoiceFailureMessage(decoded.Cause, file);
    return std::nullopt;
  }
  if (!ColoursAccepted(screenResolution, static_cast<uint32_t>(decoded.Image.depth()), ask)) return std::nullopt;
  return decoded.Image;
}

}  // namespace

SceneryChoice ChooseScenery(const std::string& chosenFile, const std::string& backdropPath, double scale,
                            uint32_t screenResolution, const YesNoQuestion& ask) {
  SceneryChoice choice;
  const std::optional<QImage> picture = StartsAsBmp(chosenFile)
                                            ? ChosenBitmap(chosenFile, screenResolution, ask, choice)
                                            : ChosenPicture(chosenFile, screenResolution, ask, choice);
  if (!picture) return choice;
  // The file keeps the stretched picture without the marks: they are drawn
  // when it is loaded, at the screen's scale and in the colour its knock
  // area calls for, so they are never doubled or blurred. Whatever the
  // chosen format, it is kept as a 24-bit bitmap.
  const QImage table = StretchToTable(*picture);
  if (auto failed = WriteBackdropFile(backdropPath, ToNxBitmap(table))) {
    choice.Message = *failed;
    return choice;
  }
  choice.Backdrop = DecoratedBackdrop(table, scale);
  choice.Picture = table;
  return choice;
}
