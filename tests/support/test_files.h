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
