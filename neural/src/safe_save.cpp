#include "neural/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Unique within this process by the counter, across processes by the pid,
// and hard to guess in advance by the clock.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned long> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(ticks % 1000000007ULL);
}

}  // namespace

NxSafeSave::NxSafeSave(std::string path) : Destination(std::move(path)) {
  struct stat existing;
  bool replacing = false;
  if (lstat(Destination.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) {
      ProblemText = "exists and is not a regular file";
      return;
    }
    replacing = true;
  } else if (errno != ENOENT) {
    Fail(errno);
    return;
  }
  // A new file gets the usual bits (the umask applies); a replaced one
  // keeps its own.
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    Temporary = TemporaryNameFor(Destination);
    fd = open(Temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, replacing ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    Temporary.clear();
    Fail(error);
    return;
  }
  if ((replacing && fchmod(fd, existing.st_mode & 07777) != 0) || !(Stream = fdopen(fd, "w+b"))) {
    const int error = errno;
    close(fd);
    Fail(error);
  }
}

NxSafeSave::~NxSafeSave() { Discard(); }

bool NxSafeSave::Fail(int error) {
  ProblemText = std::strerror(error);
  Discard();
  return false;
}

void NxSafeSave::Discard() {
  if (Stream) std::fclose(Stream);
  Stream = nullptr;
  if (!Temporary.empty()) unlink(Temporary.c_str());
  Temporary.clear();
}

bool NxSafeSave::Commit() {
  if (!Stream) return false;
  errno = 0;
  if (std::fflush(Stream) != 0 || std::ferror(Stream)) return Fail(errno ? errno : EIO);
  if (fsync(fileno(Stream)) != 0) return Fail(errno);
  std::FILE* closing = Stream;
  Stream = nullptr;
  if (std::fclose(closing) != 0) return Fail(errno);
  // The destination may have changed kind since the start.
  struct stat existing;
  if (lstat(Destination.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    Discard();
    ProblemText = "exists and is not a regular file";
    return false;
  }
  if (std::rename(Temporary.c_str(), Destination.c_str()) != 0) return Fail(errno);
  Temporary.clear();
  // The rename itself must survive a crash as well.
  int directory = open(DirectoryOf(Destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) return Fail(errno);
  const bool synced = fsync(directory) == 0;
  const int error = errno;
  close(directory);
  if (!synced) return Fail(error);
  return true;
}
