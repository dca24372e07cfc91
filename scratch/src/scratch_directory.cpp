#include "scratch/scratch_directory.h"

#include <unistd.h>

#include <atomic>

ScratchDirectory::ScratchDirectory(const std::string& kind) {
  static std::atomic<int> counter = 0;
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path parent = fs::temp_directory_path(error);
  if (error) parent = "/tmp";
  RootPath = parent / ("quorla-" + kind + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  // A directory left by an earlier process with the same id is stale.
  fs::remove_all(RootPath, error);
  if (!fs::create_directories(RootPath, error)) NoteProblem("cannot make " + RootPath.string() + ": " + error.message());
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(RootPath, ignored);
}

std::set<std::string> ScratchDirectory::Names() const {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(RootPath, error))
    names.insert(entry.path().filename().string());
  return names;
}
