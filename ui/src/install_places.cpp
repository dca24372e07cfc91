#include "ui/install_places.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool IsWritableDirectory(const std::string& path) {
  return !path.empty() && std::filesystem::is_directory(path) && access(path.c_str(), W_OK) == 0;
}

std::string UserDataDirectory() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome == '/') return WithSlash(std::string(dataHome) + "/quorla");
  const char* home = std::getenv("HOME");
  return WithSlash(std::string(home && *home ? home : "/tmp") + "/.local/share/quorla");
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

InstallPlaces FindInstallPlaces(const std::string& programDirectory) {
  InstallPlaces places;
  places.Installation = WithSlash(programDirectory);
  if (IsWritableDirectory(programDirectory)) {
    places.Configuration = places.Installation;
    return places;
  }
  places.Configuration = UserDataDirectory();
  std::error_code ignored;
  std::filesystem::create_directories(places.Configuration, ignored);
  return places;
}

void SeedPlayerFiles(const InstallPlaces& places) {
  const std::string learned = places.Configuration + "QLPLAY.QLF";
  const std::string defaults = places.Installation + "QLDEFLT.QLF";
  std::error_code ignored;
  if (!std::filesystem::exists(learned, ignored) && std::filesystem::is_regular_file(defaults, ignored))
    std::filesystem::copy_file(defaults, learned, ignored);
}

bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"); }
