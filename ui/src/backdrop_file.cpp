#include "ui/backdrop_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "neural/regular_file.h"
#include "store/atomic_file.h"

namespace {

// Reads up to count more bytes onto the end of bytes; false on a read error.
bool ReadMore(std::FILE* file, std::vector<uint8_t>& bytes, uint64_t count) {
  const size_t had = bytes.size();
  bytes.resize(had + static_cast<size_t>(count));
  bytes.resize(had + std::fread(bytes.data() + had, 1, static_cast<size_t>(count), file));
  return !std::ferror(file);
}

// The headers first, then only as much as they declare and the file holds:
// a huge file is never read whole, nor is memory taken for bytes a cut
// short file does not have. The cause of a failure, or null for CheckBmp to
// judge what was read.
const char* ReadDeclaredBytes(std::FILE* file, std::vector<uint8_t>& bytes) {
  if (!ReadMore(file, bytes, BMP_HEADERS_BYTES)) return backdrop_text::CANNOT_ACCESS;
  const BmpCheck headers = CheckBmpHeaders(bytes);
  if (headers.Problem == BmpProblem::DAMAGED) return nullptr;
  if (headers.Problem == BmpProblem::TOO_LARGE || headers.DeclaredBytes > BACKDROP_MAX_FILE_BYTES)
    return backdrop_text::NO_MEMORY;
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return backdrop_text::CANNOT_ACCESS;
  const uint64_t end = std::min(headers.DeclaredBytes, static_cast<uint64_t>(info.st_size));
  if (end > bytes.size() && !ReadMore(file, bytes, end - bytes.size())) return backdrop_text::CANNOT_ACCESS;
  return nullptr;
}

}  // namespace

BmpFileRead ReadBmpFile(const std::string& path) {
  BmpFileRead read;
  // A FIFO would keep start-up waiting; a device never ends.
  std::FILE* file = NxOpenRegularFile(path, false);
  if (!file) {
    read.Cause = backdrop_text::CANNOT_ACCESS;
    return read;
  }
  read.Cause = ReadDeclaredBytes(file, read.Bytes);
  std::fclose(file);
  if (read.Cause) {
    read.Bytes.clear();
    return read;
  }
  const BmpCheck check = CheckBmp(read.Bytes);
  read.Info = check.Info;
  switch (check.Problem) {
    case BmpProblem::NONE: break;
    case BmpProblem::COMPRESSED: read.Compressed = true; break;
    case BmpProblem::TOO_LARGE: read.Cause = backdrop_text::NO_MEMORY; break;
    case BmpProblem::DAMAGED: read.Cause = backdrop_text::GDI_ERROR; break;
  }
  return read;
}

bool StartsAsBmp(const std::string& path) {
  std::FILE* file = NxOpenRegularFile(path, false);
  if (!file) return true;  // the bitmap reader names the failure as it always has
  char start[2] = {};
  const bool bmp = std::fread(start, 1, 2, file) == 2 && start[0] == 'B' && start[1] == 'M';
  std::fclose(file);
  return bmp;
}

PictureFileRead ReadPictureFile(const std::string& path) {
  PictureFileRead read;
  std::FILE* file = NxOpenRegularFile(path, false);
  if (!file) {
    read.Cause = backdrop_text::CANNOT_ACCESS;
    return read;
  }
  struct stat info;
  if (fstat(fileno(file), &info) != 0)
    read.Cause = backdrop_text::CANNOT_ACCESS;
  else if (static_cast<uint64_t>(info.st_size) > PICTURE_MAX_FILE_BYTES)
    read.Cause = backdrop_text::NO_MEMORY;
  else if (!ReadMore(file, read.Bytes, static_cast<uint64_t>(info.st_size)))
    read.Cause = backdrop_text::CANNOT_ACCESS;
  std::fclose(file);
  if (read.Cause) read.Bytes.clear();
  return read;
}

BackdropMessage LoadFailureMessage(const char* cause, const std::string& path) {
  return {backdrop_text::SCENERY_ERROR, cause + path + backdrop_text::USING_DEFAULT, BackdropIcon::EXCLAMATION};
}

BackdropMessage ChoiceFailureMessage(const char* cause, const std::string& path) {
  return {backdrop_text::NEW_SCENERY_ERROR, cause + path + backdrop_text::CONTINUING, BackdropIcon::EXCLAMATION};
}

BackdropMessage CompressedMessage() {
  return {backdrop_text::NEW_SCENERY_ERROR, backdrop_text::COMPRESSED, BackdropIcon::EXCLAMATION};
}

std::optional<BackdropMessage> WriteBackdropFile(const std::string& path, const NxBitmap& picture) {
  if (SaveFileAtomically(path, EncodeBmp24(picture)) == SaveResult::SAVED) return std::nullopt;
  return BackdropMessage{backdrop_text::NEW_SCENERY_ERROR,
                         backdrop_text::PROBLEM_WRITING + path + backdrop_text::DISK_FULL + backdrop_text::CONTINUING,
                         BackdropIcon::EXCLAMATION};
}
