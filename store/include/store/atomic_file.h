#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Whole-file reading with a size limit, and saving that never destroys the
// previous good file: the data goes to a temporary file of its own first,
// is flushed to disk, and only then replaces the original by a rename
// (NxSafeSave).

// Nothing when the file cannot be opened or read, is no regular file, or is
// larger than maxBytes.
std::optional<std::vector<uint8_t>> ReadFileLimited(const std::string& path, size_t maxBytes);
// The same from a file already open; the caller closes it.
std::optional<std::vector<uint8_t>> ReadOpenFileLimited(FILE* file, size_t maxBytes);

enum class SaveResult {
  SAVED,
  OPEN_FAILED,   // the temporary file could not be created, or the destination is no regular file
  WRITE_FAILED,  // writing the data failed
  CLOSE_FAILED,  // flushing, syncing, closing or the final rename failed
};

SaveResult SaveFileAtomically(const std::string& path, const std::vector<uint8_t>& data);
