#pragma once

#include <chrono>

// A one-line training progress display, redrawn in place on a terminal at
// most a few times a second; silent when stderr is not a terminal.
class ProgressLine {
 public:
  // errorName: what the error shown is.
  explicit ProgressLine(unsigned epochLimit, const char* errorName = "max error");
  ~ProgressLine();

  void Update(unsigned epoch, double error);
  // Clears the line so that the results print on a clean one.
  void Finish();

 private:
  unsigned EpochLimit;
  const char* ErrorName;
  bool Enabled;
  bool Drawn;
  std::chrono::steady_clock::time_point LastDraw;
};
