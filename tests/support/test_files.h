#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "scratch/scratch_directory.h"

// A path in the test's temporary directory.
std::string TempPath(const std::string& name);

// A missing file reads as empty.
std::string FileText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);

// What may be found in place of a data file. Every reader refuses each of
// these at once, without waiting on a pipe for a writer that never comes.
enum class BadFile { FIFO, DIRECTORY, OVERSIZED, LINK_TO_FIFO, DANGLING_LINK, LINK_TO_DEVICE };
constexpr BadFile BAD_FILES[] = {BadFile::FIFO,         BadFile::DIRECTORY,     BadFile::OVERSIZED,
                                 BadFile::LINK_TO_FIFO, BadFile::DANGLING_LINK, BadFile::LINK_TO_DEVICE};
// The ones that are no regular file at all, whatever a reader's size limit.
constexpr BadFile NOT_REGULAR_FILES[] = {BadFile::FIFO, BadFile::DIRECTORY, BadFile::LINK_TO_FIFO,
                                         BadFile::LINK_TO_DEVICE};
const char* Describe(BadFile kind);
// Replaces whatever is at path. An oversized file holds maxBytes + 1 bytes;
// a link points to path + ".target", or to /dev/zero.
void PlantBadFile(BadFile kind, const std::string& path, size_t maxBytes = 0);

// Ends the test process when a test is still running after `seconds`, so
// that a read blocked for ever fails its test instead of hanging the suite.
class BlockingGuard {
 public:
  explicit BlockingGuard(unsigned seconds = 30);
  ~BlockingGuard();
  BlockingGuard(const BlockingGuard&) = delete;
  BlockingGuard& operator=(const BlockingGuard&) = delete;
};
