#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

ProgressLine::ProgressLine(unsigned epochLimit, const char* errorName)
    : EpochLimit(epochLimit),
      ErrorName(errorName), Enabled(isatty(STDERR_FILENO) == 1), Drawn(false), LastDraw() {}

ProgressLine::~ProgressLine() { Finish(); }

void ProgressLine::Update(unsigned epoch, double error) {
  if (!Enabled) return;
  auto now = std::chrono::steady_clock::now();
  if (Drawn && now - LastDraw < std::chrono::milliseconds(100)) return;
  LastDraw = now;
  Drawn = true;
  std::fprintf(stderr, "\rtraining: epoch %u of %u, %s %.6f   ", epoch, EpochLimit, ErrorName, error);
  std::fflush(stderr);
}

void ProgressLine::Finish() {
  if (!Drawn) return;
  std::fprintf(stderr, "\r%60s\r", "");
  std::fflush(stderr);
  Drawn = false;
}
