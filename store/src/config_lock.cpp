#include "store/config_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

std::string LockPath(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory + ConfigLock::LOCK_FILE;
}

// The lock file is never read or written: only its lock counts. O_NOFOLLOW
// keeps a link planted at its name from creating a file elsewhere.
int OpenLockFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  // A lock file left in a folder that has since become read-only can still
  // be locked through a descriptor opened for reading.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  return fd;
}

bool TryLock(int fd) {
  int result;
  do result = flock(fd, LOCK_EX | LOCK_NB);
  while (result != 0 && errno == EINTR);
  return result == 0;
}

}  // namespace

ConfigLock::~ConfigLock() { Release(); }

ConfigLock::ConfigLock(ConfigLock&& other) noexcept
    : Descriptor(std::exchange(other.Descriptor, -1)), HeldDirectory(std::move(other.HeldDirectory)) {}

ConfigLock& ConfigLock::operator=(ConfigLock&& other) noexcept {
  if (this != &other) {
    Release();
    Descriptor = std::exchange(other.Descriptor, -1);
    HeldDirectory = std::move(other.HeldDirectory);
  }
  return *this;
}

ConfigLock::Claim ConfigLock::Acquire(const std::string& directory) {
  // A second lock of this process on the same file would refuse this one.
  if (Holds() && LockPath(HeldDirectory) == LockPath(directory)) return Claim::HELD;
  const int fd = OpenLockFile(LockPath(directory));
  if (fd < 0) return Claim::UNLOCKABLE;
  if (!TryLock(fd)) {
    const bool busy = errno == EWOULDBLOCK;
    close(fd);
    return busy ? Claim::IN_USE : Claim::UNLOCKABLE;
  }
  Release();
  Descriptor = fd;
  HeldDirectory = directory;
  return Claim::HELD;
}

void ConfigLock::Release() {
  if (Descriptor >= 0) close(Descriptor);
  Descriptor = -1;
  HeldDirectory.clear();
}

bool ConfigLock::HeldElsewhere(const std::string& directory) {
  ConfigLock probe;
  return probe.Acquire(directory) == Claim::IN_USE;
}
