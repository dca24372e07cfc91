#include "ui/backdrop_loading.h"

#include <QGuiApplication>
#include <QScreen>

#include "store/setting_keys.h"
#include "ui/backdrop.h"
#include "ui/backdrop_file.h"
#include "ui/color_resolution.h"
#include "ui/image_convert.h"

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
  const BmpFileRead read = ReadBmpFile(backdropPath);
  const char* cause = read.Cause;
  QImage picture;
  if (!cause) {
    picture = Decode(read);
    if (picture.isNull()) cause = backdrop_text::GDI_ERROR;
  }
  if (cause) {
    load.Messages.push_back(LoadFailureMessage(cause, backdropPath));
    return load;
  }
  load.Picture = StretchToTable(picture);
  load.Backdrop = DecoratedBackdrop(load.Picture, scale);
  load.Plain = false;
  return load;
}

SceneryChoice ChooseScenery(const std::string& chosenFile, const std::string& backdropPath, double scale,
                            uint32_t screenResolution, const YesNoQuestion& ask) {
  SceneryChoice choice;
  const BmpFileRead read = ReadBmpFile(chosenFile);
  if (read.Compressed) {
    choice.Message = CompressedMessage();
    return choice;
  }
  if (read.Cause) {
    choice.Message = ChoiceFailureMessage(read.Cause, chosenFile);
    return choice;
  }
  if (NeedsColorResolutionQuestion(screenResolution, read.Info.BitsPerPixel) &&
      !(ask && ask(ColorResolutionQuestion())))
    return choice;
  const QImage picture = Decode(read);
  if (picture.isNull()) {
    choice.Message = ChoiceFailureMessage(backdrop_text::GDI_ERROR, chosenFile);
    return choice;
  }
  // The file keeps the stretched picture without the marks: they are drawn
  // when it is loaded, at the screen's scale and in the colour its knock
  // area calls for, so they are never doubled or blurred.
  const QImage table = StretchToTable(picture);
  if (auto failed = WriteBackdropFile(backdropPath, ToNxBitmap(table))) {
    choice.Message = *failed;
    return choice;
  }
  choice.Backdrop = DecoratedBackdrop(table, scale);
  choice.Picture = table;
  return choice;
}
