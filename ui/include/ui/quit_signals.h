#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

// Turns the signals that end a program from outside (SIGTERM, SIGHUP from a
// closed terminal or a logout, SIGINT from Ctrl+C) into a Qt signal on the
// window's thread, so that the game is saved the way a close saves it
// rather than lost. The handler only writes a byte to a pipe: nothing is
// interrupted, so a second signal during the save cannot cut a file short.
// One instance at a time; the previous handlers come back when it goes,
// unless a signal came: then later ones are ignored until the end.
class QuitSignals : public QObject {
  Q_OBJECT

 public:
  QuitSignals();
  ~QuitSignals() override;

  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // Whether the handlers are in place (a pipe could be made).
  bool IsWatching() const { return Notifier != nullptr; }

 signals:
  // Once per signal received; the receiver ignores repeats.
  void QuitRequested(int signalNumber);

 private:
  void Drain();

  std::unique_ptr<QSocketNotifier> Notifier;
  bool Received = false;
};
