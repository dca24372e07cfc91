// QUORLA32: the Gin Rummy game. Its installation directory is the
// directory of the program; when that is not writable, the player's files
// live in the user's data directory.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/data_paths.h"
#include "ui/install_places.h"
#include "ui/quorla_frame.h"

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "QUORLA32: no display to open the game window on (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                 "Start it from a desktop session, or under Xvfb.\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorla");

  const InstallPlaces places = FindInstallPlaces(data_paths::ProgramDirectory());
  data_paths::SetInstallationDirectory(places.Installation);
  data_paths::SetConfigurationDirectory(places.Configuration);
  SeedPlayerFiles(places);
  GameSettings settings;
  settings.Open(places.Configuration + "QUORLA.INI");

  QuorlaFrame frame(settings, places.Configuration, places.Installation);
  frame.show();
  frame.Start();
  return app.exec();
}
