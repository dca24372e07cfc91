#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A start-up step that cannot go on; its text is shown as the program ends.
class StartupFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A major.minor version of the libraries the program runs on.
struct PlatformVersion {
  uint32_t Major = 0;
  uint32_t Minor = 0;
};

// "6.4.2" gives 6.4; anything unreadable gives 0.0, which no check accepts.
PlatformVersion ParsePlatformVersion(std::string_view text);
// The window library found at run time must be at least the one the program
// was built for: an older one misses what the program relies on.
bool IsSupportedPlatform(PlatformVersion running, PlatformVersion required);
// Throws StartupFailure with the platform message when not supported.
void CheckPlatform(PlatformVersion running, PlatformVersion required);

// The program's file must be named QUORLA32 (in any case); its directory,
// with a trailing '/', is the installation directory. Throws StartupFailure
// with "Application Path Error" otherwise.
std::string InstallationDirectoryOf(const std::string& programPath);
