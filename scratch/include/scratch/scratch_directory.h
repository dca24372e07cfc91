#pragma once

#include <filesystem>
#include <set>
#include <string>

// A new, empty directory of its own in the system's temporary directory,
// removed with everything in it when this object goes, on every way out.
// Its name carries `kind`, the process id and a counter, so that parallel
// test processes and several scratch directories in one process never meet.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& kind = "scratch");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // True when the directory could not be made; Problem() says why.
  bool Failed() const { return !ProblemText.empty(); }
  const std::string& Problem() const { return ProblemText; }

  const std::filesystem::path& Root() const { return RootPath; }
  std::string Path(const std::string& name) const { return (RootPath / name).string(); }
  // With a trailing '/'.
  std::string Directory() const { return RootPath.string() + "/"; }
  // The names directly inside; a directory of its own also shows stray files.
  std::set<std::string> Names() const;

 protected:
  // Keeps the first problem; a scratch directory that failed once stays failed.
  void NoteProblem(const std::string& why) {
    if (ProblemText.empty()) ProblemText = why;
  }

 private:
  std::filesystem::path RootPath;
  std::string ProblemText;
};
