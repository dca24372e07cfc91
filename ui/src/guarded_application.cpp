#include "ui/guarded_application.h"

#include "ui/failure_handlers.h"

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (!Failure) Failure = std::current_exception();
    exit(FAILURE_EXIT_CODE);
    return false;
  }
}

int GuardedApplication::Exec() {
  const int code = exec();
  if (Failure) std::rethrow_exception(Failure);
  return code;
}
