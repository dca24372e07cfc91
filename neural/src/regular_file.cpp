#include "neural/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::FILE* Refuse(int fd, std::string* problem, const char* why) {
  if (problem) *problem = why;
  if (fd >= 0) close(fd);
  return nullptr;
}

}  // namespace

std::FILE* NxOpenRegularFile(const std::string& path, bool update, std::string* problem) {
  // Looked at first, so that no device is even opened; checked again on the
  // open descriptor, as the name may have changed in between.
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return Refuse(-1, problem, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) return Refuse(-1, problem, "Not a regular file");
  const int fd = open(path.c_str(), (update ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Refuse(fd, problem, std::strerror(errno));
  if (fstat(fd, &status) != 0) return Refuse(fd, problem, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) return Refuse(fd, problem, "Not a regular file");
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Refuse(fd, problem, std::strerror(errno));
  std::FILE* stream = fdopen(fd, update ? "r+b" : "rb");
  if (!stream) return Refuse(fd, problem, std::strerror(errno));
  return stream;
}
