#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "ui/backdrop_message.h"

class SettingsStore;

// Bits per pixel of the primary screen (32 when there is none).
uint32_t ScreenColorResolution();

struct BackdropLoad {
  QImage Backdrop;  // decorated, the table at the scale asked for; never null
  QImage Picture;   // the scenery at table size, undecorated, for other scales; null when plain
  bool Plain = true;
  // In the order they are to be shown: the colour-resolution warning, then
  // the reason the plain backdrop is used.
  std::vector<BackdropMessage> Messages;
};

// The backdrop at start-up and after a configuration switch: the plain one
// when the settings disable scenery, otherwise the picture in backdropPath
// (BACKIMG.QLF of the configuration), or the plain one with a message when
// that cannot be read.
BackdropLoad LoadBackdrop(const std::string& backdropPath, double scale, SettingsStore& settings,
                          uint32_t screenResolution);

// Whether to go on with a picture whose colours the screen may not show;
// given the Yes/No question to ask.
using YesNoQuestion = std::function<bool(const BackdropMessage&)>;

struct SceneryChoice {
  QImage Backdrop;  // the new decorated backdrop; null when the current one stays
  QImage Picture;   // the same at table size, undecorated
  std::optional<BackdropMessage> Message;
};

// Makes chosenFile the scenery: validates it (a Windows bitmap, or any
// picture Qt reads), stretches it to the table, writes it to backdropPath
// (BACKIMG.QLF, always a 24-bit bitmap), and returns the decorated result.
// Every failure keeps the current backdrop and its file.
SceneryChoice ChooseScenery(const std::string& chosenFile, const std::string& backdropPath, double scale,
                            uint32_t screenResolution, const YesNoQuestion& ask);
