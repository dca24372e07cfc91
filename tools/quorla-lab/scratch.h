#pragma once

#include <filesystem>
#include <string>

// Removes a scratch installation when the command is done with it, on
// every way out.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(std::string path) : Path(std::move(path)) {}
  ~ScratchDirectory() {
    std::error_code ignored;
    if (!Path.empty()) std::filesystem::remove_all(Path, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& Get() const { return Path; }
  bool Failed() const { return Path.empty(); }

 private:
  std::string Path;
};
