#include "store/file_copy.h"

#include <filesystem>

#include "store/atomic_file.h"

namespace {
// Data files are small; the backdrop image is the largest.
constexpr size_t MAX_COPY_BYTES = 64 << 20;
}  // namespace

bool CopyDataFile(const std::string& from, const std::string& to, bool overwrite) {
  auto data = ReadFileLimited(from, MAX_COPY_BYTES);
  if (!data) return false;
  std::error_code ignored;
  if (!overwrite && std::filesystem::exists(to, ignored)) return true;
  return SaveFileAtomically(to, *data) == SaveResult::SAVED;
}
