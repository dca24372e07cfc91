#pragma once

#include <QApplication>
#include <exception>

// The application object whose event handling lets no failure escape into
// the window library: the first failure ends the event loop and is raised
// again from Exec(), where the program's last-resort handlers see it.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override;
  int Exec();

 private:
  std::exception_ptr Failure;
};
