#include "ui/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int WATCHED[] = {SIGTERM, SIGHUP, SIGINT};

int Pipe[2] = {-1, -1};
struct sigaction Previous[std::size(WATCHED)];

// Runs in signal context: only async-signal-safe calls.
void WriteSignalNumber(int signalNumber) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = write(Pipe[1], &byte, 1);
  errno = saved;
}

bool MakePipe() {
  if (pipe(Pipe) != 0) return false;
  for (int end : Pipe) {
    fcntl(end, F_SETFD, FD_CLOEXEC);
    fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
  }
  return true;
}

}  // namespace

QuitSignals::QuitSignals() {
  if (!MakePipe()) return;
  Notifier = std::make_unique<QSocketNotifier>(Pipe[0], QSocketNotifier::Read);
  connect(Notifier.get(), &QSocketNotifier::activated, this, &QuitSignals::Drain);
  struct sigaction action {};
  action.sa_handler = WriteSignalNumber;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls of the save carry on rather than fail.
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(WATCHED); ++i) sigaction(WATCHED[i], &action, &Previous[i]);
}

QuitSignals::~QuitSignals() {
  if (!Notifier) return;
  // A program ending because of a signal may get another before it is
  // gone: with the old handlers back, that one would kill it on its way
  // out. The handler stays and writes to nowhere.
  if (!Received)
    for (size_t i = 0; i < std::size(WATCHED); ++i) sigaction(WATCHED[i], &Previous[i], nullptr);
  Notifier.reset();
  const int readEnd = Pipe[0], writeEnd = Pipe[1];
  Pipe[0] = Pipe[1] = -1;
  close(readEnd);
  close(writeEnd);
}

void QuitSignals::Drain() {
  unsigned char byte = 0;
  while (read(Pipe[0], &byte, 1) == 1) {
    Received = true;
    emit QuitRequested(byte);
  }
}
