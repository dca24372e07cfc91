#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

class QLocalServer;
class QWidget;

// How a second start on a configuration already in use reaches the copy
// that uses it: the running copy listens on a local socket named after the
// configuration's directory and brings its window to the front when asked.
// Where the desktop does not let a program raise itself, nothing happens.
class RunningCopy : public QObject {
  Q_OBJECT

 public:
  RunningCopy();
  ~RunningCopy() override;

  // Listens for the configuration in `directory` on behalf of `window`;
  // a listener for an earlier configuration stops.
  void ListenFor(const std::string& directory, QWidget* window);
  // Asks the copy that listens for `directory` to come to the front; false
  // when none answered.
  static bool AskToComeForward(const std::string& directory);

  // The socket name for a directory (one per user and configuration).
  static QString ChannelName(const std::string& directory);

 private:
  void ComeForward();

  std::unique_ptr<QLocalServer> Server;
  QPointer<QWidget> Window;
};
