#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// A directory of its own for one test, removed with everything in it
// afterwards; a directory of its own also shows stray temporary files.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::string Path(const std::string& name) const { return (Root / name).string(); }
  // With a trailing '/'.
  std::string Directory() const { return Root.string() + "/"; }
  std::set<std::string> Names() const;

 private:
  std::filesystem::path Root;
};

// A path in the test's temporary directory.
std::string TempPath(const std::string& name);

// A missing file reads as empty.
std::string FileText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);

// What a broken or hostile installation may put where a data file belongs.
// No reader may read any of them, and none may keep a reader waiting.
enum class NotAFile { FIFO, DIRECTORY, LINK_TO_FIFO, LINK_TO_DEVICE };
constexpr NotAFile ALL_NOT_A_FILE[] = {NotAFile::FIFO, NotAFile::DIRECTORY, NotAFile::LINK_TO_FIFO,
                                       NotAFile::LINK_TO_DEVICE};
const char* NotAFileName(NotAFile kind);
// Replaces whatever is at path (a file or nothing) by one of them.
void PlaceNotAFile(const std::string& path, NotAFile kind);

// Ends the whole test program when the scope lasts longer than the given
// seconds: a reader that waits on a FIFO fails at once instead of hanging
// the suite.
class HangGuard {
 public:
  explicit HangGuard(unsigned seconds);
  ~HangGuard();
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
};
