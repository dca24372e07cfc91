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

// A scratch installation (see network_data::MakeScratchInstallation) whose
// default and player data files are copies of `file`; an empty `file` keeps
// freshly initialised networks seeded by `seed`. Returns the directory, or
// an empty string when it cannot be made.
std::string MakeScratchInstallationFrom(const std::string& file, unsigned seed);

// True when `file` is a regular file long enough for four level blocks.
bool IsNetworkDataFile(const std::string& file);

// Copies `from` over `to` by a safe save (NxSafeSave): `to` is replaced
// only by a complete copy on disk and is never a link or a device. Empty
// when done, otherwise what went wrong.
std::string CopyDurably(const std::string& from, const std::string& to);
