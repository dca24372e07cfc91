#pragma once

#include <cstdio>
#include <string>

#include "neural/export.h"

// Replaces a file only by a complete, durable new one. The data goes to a
// temporary file created exclusively, under a name of its own in the same
// directory and without following links, so nothing planted at that name
// is ever written through. Commit flushes it to disk, gives it the
// permission bits of the file it replaces, renames it over that file and
// flushes the directory. A destination that exists and is not a regular
// file (a link, a device, a directory) is refused, and every way out
// without a successful commit removes the temporary file.
class NX_EXPORT NxSafeSave {
 public:
  explicit NxSafeSave(std::string path);
  ~NxSafeSave();

  NxSafeSave(const NxSafeSave&) = delete;
  NxSafeSave& operator=(const NxSafeSave&) = delete;

  bool Opened() const { return Stream != nullptr; }
  // The temporary file, open for reading and writing; stays owned here.
  std::FILE* GetStream() const { return Stream; }
  // Why the save could not go on (empty while all is well).
  const std::string& Problem() const { return ProblemText; }
  const std::string& Path() const { return Destination; }

  // False when any step fails; the previous file then stays as it was
  // (unless only the final flush of the directory failed).
  bool Commit();

 private:
  bool Fail(int error);
  void Discard();

  std::string Destination;
  std::string Temporary;
  std::FILE* Stream = nullptr;
  std::string ProblemText;
};

// Removes what saves into `directory` left behind when their process died
// before it could commit or discard: regular files named as NxSafeSave
// names its temporary files, whose process no longer runs. Files of a live
// process (this one included), look-alike names, links and directories
// stay. Returns how many files were removed.
NX_EXPORT size_t NxRemoveAbandonedTemporaries(const std::string& directory);
