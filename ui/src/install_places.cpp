#include "ui/install_places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "store/file_copy.h"

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Root may write into any directory whose file system is writable, so for
// root a directory counts as read-only when its mode grants writing to
// nobody: an installation made read-only with chmod stays read-only for
// every user.
bool IsWritableDirectory(const std::string& path) {
  struct stat status {};
  if (path.empty() || stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  if (access(path.c_str(), W_OK) != 0) return false;
  return geteuid() != 0 || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

std::string HomeDirectory() {
  if (IsSet("HOME")) return std::getenv("HOME");
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/";
}

std::string UserDataDirectory() {
  // A relative data home is not valid and is ignored.
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome == '/') return WithSlash(std::string(dataHome) + "/quorla");
  return WithSlash(HomeDirectory() + "/.local/share/quorla");
}

}  // namespace

bool IsSharedInstallation(const std::string& programDirectory) {
  std::error_code ignored;
  return std::filesystem::exists(WithSlash(programDirectory) + SHARED_INSTALLATION_MARK, ignored) ||
         !IsWritableDirectory(programDirectory);
}

InstallPlaces FindInstallPlaces(const std::string& programDirectory) {
  InstallPlaces places;
  places.Installation = WithSlash(programDirectory);
  if (!IsSharedInstallation(programDirectory)) {
    places.Configuration = places.Installation;
    return places;
  }
  places.Configuration = UserDataDirectory();
  std::error_code ignored;
  places.PlayerFilesLeftBehind =
      !std::filesystem::exists(places.Installation + SHARED_INSTALLATION_MARK, ignored) &&
      std::filesystem::exists(places.Installation + "QUORLA.INI", ignored);
  std::filesystem::create_directories(places.Configuration, ignored);
  return places;
}

void SeedPlayerFiles(const InstallPlaces& places) {
  // The copy is a new file of the player's: an installed, read-only
  // default must not leave the learned networks unwritable.
  std::error_code ignored;
  const std::string learned = places.Configuration + "QLPLAY.QLF";
  if (!std::filesystem::exists(learned, ignored))
    CopyDataFile(places.Installation + "QLDEFLT.QLF", learned, false);
}

bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"); }
