#include "network_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "neural/safe_save.h"
#include "player/position_network.h"

bool IsNetworkDataFile(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  auto size = std::filesystem::file_size(file, error);
  return !error && size == NUM_LEVELS * LEVEL_BLOCK_BYTES;
}

std::string CopyDurably(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return std::string("cannot read ") + from + ": " + std::strerror(errno);
  NxSafeSave save(to);
  bool copied = save.Opened();
  char block[16384];
  while (copied) {
    size_t got = std::fread(block, 1, sizeof block, in);
    if (got > 0 && std::fwrite(block, 1, got, save.GetStream()) != got) copied = false;
    if (got < sizeof block) {
      copied = copied && !std::ferror(in);
      break;
    }
  }
  std::fclose(in);
  if (copied && save.Commit()) return "";
  return save.Problem().empty() ? "write failed" : save.Problem();
}
