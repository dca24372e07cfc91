#include "store/disk_space.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>

uint64_t ConfigurationSpaceNeeded(uint32_t bitsPerPixel) {
  if (bitsPerPixel == 1 || bitsPerPixel == 4) return 161000;
  if (bitsPerPixel == 8) return 290000;
  return 640000;
}

uint64_t FreeBytes(const std::string& path) {
  struct statvfs info {};
  if (statvfs(path.c_str(), &info) != 0) return 0;
  return static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
}

std::string VolumeOf(const std::string& path) {
  std::error_code error;
  std::filesystem::path at = std::filesystem::absolute(path, error);
  struct stat here {};
  if (error || stat(at.c_str(), &here) != 0) return path;
  // Climb while the parent is on the same device.
  while (at.has_parent_path() && at.parent_path() != at) {
    struct stat parent {};
    if (stat(at.parent_path().c_str(), &parent) != 0 || parent.st_dev != here.st_dev) break;
    at = at.parent_path();
  }
  return at.string();
}
