#include "ui/help_topics.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include "ui/help_window.h"

namespace {

QString& ChosenDirectory() {
  static QString directory;
  return directory;
}

// One help window for the whole program; it follows the window that asks
// for help, so that it takes input while a modal dialog asks.
QPointer<HelpWindow>& TheWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

QString& ChosenLanguage() {
  static QString language;
  return language;
}

}  // namespace

void SetHelpDirectory(const QString& directory) { ChosenDirectory() = directory; }

void SetHelpLanguage(const QString& code) { ChosenLanguage() = code == QLatin1String("en") ? QString() : code; }

const QString& HelpLanguage() { return ChosenLanguage(); }

QString HelpDirectory() {
  if (!ChosenDirectory().isEmpty()) return ChosenDirectory();
  return QDir(QCoreApplication::applicationDirPath()).filePath("QUORLA32.HLP");
}

const QStringList& HelpTopicNames() {
  static const QStringList topics = {
      "contents",      "using_help",    "introduction", "rules",       "playing",    "variations",
      "difficulty",    "dealing",       "cardback",     "card_faces",  "scenery",     "preferences", "about",
      "select_player", "create_player", "remove_player", "statistics",
  };
  return topics;
}

void ShowHelpTopic(QWidget* parent, const QString& topic) {
  QWidget* owner = parent ? parent->window() : nullptr;
  QPointer<HelpWindow>& window = TheWindow();
  if (window && window->Directory() != HelpDirectory()) delete window.data();
  if (!window) {
    window = new HelpWindow(HelpDirectory(), owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
  } else if (window->parentWidget() != owner) {
    window->setParent(owner, window->windowFlags());
  }
  window->ShowTopic(topic);
  window->show();
  window->raise();
  window->activateWindow();
}
