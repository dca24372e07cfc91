// QUORLA32: the Gin Rummy game. Its installation directory is the
// directory of the program; when that is not writable, the player's files
// live in the user's data directory.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QMessageBox>

#include "neural/check.h"
#include "player/data_paths.h"
#include "ui/install_places.h"
#include "ui/quorla_frame.h"

namespace {

// A failed internal check stops the program; a person sees why first.
void ShowFailedCheck(const char* condition, const char* file, unsigned line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", condition, file, line);
  QMessageBox::critical(nullptr, "Quorla",
                        QString("Assertion failed: %1\nfile %2, line %3").arg(condition, file).arg(line));
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "QUORLA32: no display to open the game window on (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                 "Start it from a desktop session, or under Xvfb.\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorla");
  NxSetCheckHandler(ShowFailedCheck);

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
