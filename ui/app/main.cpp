// QUORLA32: the Gin Rummy game. Its installation directory is the
// directory of the program; when that is not writable, the player's files
// live in the user's data directory.
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "neural/check.h"
#include "ui/failure_handlers.h"
#include "ui/guarded_application.h"
#include "ui/install_places.h"
#include "ui/quorla_app.h"

namespace {

// A failed internal check stops the program; a person sees why first.
void ShowFailedCheck(const char* condition, const char* file, unsigned line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", condition, file, line);
  QMessageBox::critical(nullptr, "Quorla",
                        QString("Assertion failed: %1\nfile %2, line %3").arg(condition, file).arg(line));
}

void ShowFailure(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "QUORLA32: no display to open the game window on (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                 "Start it from a desktop session, or under Xvfb.\n");
    return 1;
  }
  GuardedApplication app(argc, argv);
  QApplication::setApplicationName("Quorla");
  NxSetCheckHandler(ShowFailedCheck);
  return RunWithFailureHandlers(
      [&app] {
        QuorlaApp quorla;
        quorla.SaveOnOutsideQuit();
        quorla.Start(QApplication::applicationFilePath().toStdString());
        return app.Exec();
      },
      ShowFailure);
}
