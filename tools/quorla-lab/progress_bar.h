#pragma once

#include <chrono>
#include <string>
#include <string_view>

// "LABEL [#####.....] done/total UNIT, rate/s, N s left" on stderr, for a
// long run. Drawn only on a terminal and at most ten times a second, so that
// neither a script reading the output nor a measurement of speed sees it.
class ProgressBar {
 public:
  ProgressBar(unsigned long total, std::string_view unit);
  void Show(unsigned long done, std::string_view label = {});
  // Erases whichever bar is drawn, so that the next line printed is whole.
  static void Clear();

 private:
  unsigned long Total;
  std::string Unit;
  std::chrono::steady_clock::time_point Start;
  std::chrono::steady_clock::time_point LastDrawn;
  bool Drawn = false;
};
