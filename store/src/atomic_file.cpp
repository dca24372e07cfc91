#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "neural/regular_file.h"
#include "neural/safe_save.h"

namespace {

bool IsRegular(int fd) {
  struct stat status;
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileLimited(const std::string& path, size_t maxBytes) {
  FILE* file = NxOpenRegularFile(path, false);
  if (!file) return std::nullopt;
  auto data = ReadOpenFileLimited(file, maxBytes);
  std::fclose(file);
  return data;
}

std::optional<std::vector<uint8_t>> ReadOpenFileLimited(FILE* file, size_t maxBytes) {
  // Whatever opened it, only a regular file is read: a pipe or a terminal
  // could keep the reader waiting for ever.
  if (!IsRegular(fileno(file))) return std::nullopt;
  std::vector<uint8_t> data;
  uint8_t block[16384];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, file);
    if (data.size() + got > maxBytes) {
      ok = false;
      break;
    }
    data.insert(data.end(), block, block + got);
    if (got < sizeof block) {
      ok = !std::ferror(file);
      break;
    }
  }
  if (!ok) return std::nullopt;
  return data;
}

SaveResult SaveFileAtomically(const std::string& path, const std::vector<uint8_t>& data) {
  NxSafeSave save(path);
  if (!save.Opened()) return SaveResult::OPEN_FAILED;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), save.GetStream()) != data.size())
    return SaveResult::WRITE_FAILED;
  return save.Commit() ? SaveResult::SAVED : SaveResult::CLOSE_FAILED;
}
