#include "store/install_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

}  // namespace

bool AppendToInstallLog(const std::string& path, const std::vector<std::string>& lines) {
  // A link planted at the log's name would have the configuration names
  // appended to whatever file it points to; a pipe would block the open.
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  // One write, so the lines stay together.
  ok = ok && WriteAll(fd, text);
  ok = close(fd) == 0 && ok;
  return ok;
}
