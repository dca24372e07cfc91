#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int BAR_WIDTH = 30;
constexpr auto REDRAW_AFTER = std::chrono::milliseconds(100);

bool OnTerminal() {
  static const bool terminal = isatty(STDERR_FILENO);
  return terminal;
}

// The characters drawn on the terminal's last line; every bar shares it.
int lineWidth = 0;

}  // namespace

ProgressBar::ProgressBar(unsigned long total, std::string_view unit)
    : Total(total), Unit(unit), Start(Clock::now()) {}

void ProgressBar::Show(unsigned long done, std::string_view label) {
  if (!OnTerminal()) return;
  const Clock::time_point now = Clock::now();
  if (Drawn && done < Total && now - LastDrawn < REDRAW_AFTER) return;
  Drawn = true;
  LastDrawn = now;
  const double seconds = std::chrono::duration<double>(now - Start).count();
  const double rate = seconds > 0 ? done / seconds : 0;
  const double left = rate > 0 ? (Total - std::min(done, Total)) / rate : 0;
  const int filled = Total ? static_cast<int>(BAR_WIDTH * std::min(done, Total) / Total) : BAR_WIDTH;
  const std::string bar = std::string(filled, '#') + std::string(BAR_WIDTH - filled, '.');
  char line[256];
  const int width = std::snprintf(line, sizeof line, "%.*s%s[%s] %lu/%lu %s, %.*f/s, %.0f s left",
                                  static_cast<int>(label.size()), label.data(), label.empty() ? "" : " ", bar.c_str(),
                                  done, Total, Unit.c_str(), rate < 10 ? 1 : 0, rate, left);
  std::fprintf(stderr, "\r%s%*s", line, std::max(0, lineWidth - width), "");
  lineWidth = std::max(lineWidth, width);
}

void ProgressBar::Clear() {
  if (lineWidth > 0) std::fprintf(stderr, "\r%*s\r", lineWidth, "");
  lineWidth = 0;
}
