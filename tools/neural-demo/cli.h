#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Small helpers shared by the demo and the benchmark command lines.
namespace cli {

// Parses a positive count, or exits with a message naming the option.
inline unsigned long PositiveCount(const char* option, const char* text) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (!text[0] || *end || value == 0 || text[0] == '-' || value > 1000000000UL) {
    std::fprintf(stderr, "%s expects a whole number from 1 to 1000000000, not '%s'\n", option, text);
    std::exit(2);
  }
  return value;
}

// Output that could not be written (a full disk, a closed pipe) is a
// failure whatever the command made of its work.
inline int CheckedExit(const char* tool, int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "%s: cannot write the output: %s\n", tool, errno ? std::strerror(errno) : "write error");
  return status != 0 ? status : 2;
}

// Redraws one progress line on a terminal; prints nothing elsewhere.
inline void Progress(const char* label, unsigned long done, unsigned long total) {
  static bool terminal = isatty(fileno(stderr));
  if (!terminal) return;
  const int width = 30;
  int filled = static_cast<int>(width * done / (total ? total : 1));
  std::fprintf(stderr, "\r%-28s [%s%s] %3lu%%", label, std::string(filled, '#').c_str(),
               std::string(width - filled, '.').c_str(), 100 * done / (total ? total : 1));
  if (done == total) std::fprintf(stderr, "\r%*s\r", 70, "");
  std::fflush(stderr);
}

}  // namespace cli
