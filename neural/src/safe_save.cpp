#include "neural/safe_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr std::string_view TEMPORARY_MARK = ".tmp-";

// Unique within this process by the counter, across processes by the pid,
// and hard to guess in advance by the clock.
std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned long> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return path + std::string(TEMPORARY_MARK) + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(ticks % 1000000007ULL);
}

// Takes one run of decimal digits from the front of the text.
bool TakeNumber(std::string_view& text, unsigned long long& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

// The pid in a name TemporaryNameFor could have made ("NAME.tmp-PID-COUNTER-
// TICKS" with NAME not empty); nothing for any other name.
std::optional<pid_t> TemporaryNameOwner(std::string_view name) {
  const size_t mark = name.rfind(TEMPORARY_MARK);
  if (mark == std::string_view::npos || mark == 0) return std::nullopt;
  std::string_view rest = name.substr(mark + TEMPORARY_MARK.size());
  unsigned long long numbers[3];
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !rest.starts_with('-')) return std::nullopt;
    if (i > 0) rest.remove_prefix(1);
    if (!TakeNumber(rest, numbers[i])) return std::nullopt;
  }
  const auto pid = static_cast<pid_t>(numbers[0]);
  if (!rest.empty() || pid <= 0 || static_cast<unsigned long long>(pid) != numbers[0]) return std::nullopt;
  return pid;
}

// A process of another user answers EPERM: it runs, and its files stay.
bool ProcessIsGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

NxSafeSave::NxSafeSave(std::string path) : Destination(std::move(path)) {
  struct stat existing;
  const bool replacing = lstat(Destination.c_str(), &existing) == 0;
  if (replacing && !S_ISREG(existing.st_mode)) {
    ProblemText = "exists and is not a regular file";
    return;
  }
  if (!replacing && errno != ENOENT) {
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
  return synced || Fail(error);
}

size_t NxRemoveAbandonedTemporaries(const std::string& directory) {
  DIR* listing = opendir(directory.c_str());
  if (!listing) return 0;
  const int fd = dirfd(listing);
  size_t removed = 0;
  while (const dirent* entry = readdir(listing)) {
    const auto owner = TemporaryNameOwner(entry->d_name);
    // This process may be saving into the directory right now.
    if (!owner || *owner == getpid() || !ProcessIsGone(*owner)) continue;
    // Looked at without following links: only the file itself may go.
    struct stat status;
    if (fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode)) continue;
    if (unlinkat(fd, entry->d_name, 0) == 0) ++removed;
  }
  closedir(listing);
  return removed;
}
