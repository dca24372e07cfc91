#include "ui/backdrop_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <functional>

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

// The headers first, then the file's length against what they declare,
// then only as much as they declare: a huge file is never read whole, and
// no memory is taken for what a header claims beyond the file's end. The
// cause of a failure, or null for CheckBmp to judge what was read.
const char* ReadDeclaredBytes(std::FILE* file, std::vector<uint8_t>& bytes, BmpLength length) {
  if (!ReadMore(file, bytes, BMP_HEADERS_BYTES)) return backdrop_text::CANNOT_ACCESS;
  const BmpCheck headers = CheckBmpHeaders(bytes);
  if (headers.Problem == BmpProblem::DAMAGED) return nullptr;
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return backdrop_text::CANNOT_ACCESS;
  switch (CheckBmpLength(headers, static_cast<uint64_t>(info.st_size), length)) {
    case BmpProblem::DAMAGED: return backdrop_text::GDI_ERROR;
    case BmpProblem::TOO_LARGE: return backdrop_text::NO_MEMORY;
    default: break;
  }
  if (headers.DeclaredBytes > BACKDROP_MAX_FILE_BYTES) return backdrop_text::NO_MEMORY;
  if (headers.DeclaredBytes > bytes.size() && !ReadMore(file, bytes, headers.DeclaredBytes - bytes.size()))
    return backdrop_text::CANNOT_ACCESS;
  return nullptr;
}

// A picture of another format is compressed as a whole: read all of it,
// unless the file is larger than any backdrop is worth.
const char* ReadWholePicture(std::FILE* file, std::vector<uint8_t>& bytes) {
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return backdrop_text::CANNOT_ACCESS;
  if (static_cast<uint64_t>(info.st_size) > PICTURE_MAX_FILE_BYTES) return backdrop_text::NO_MEMORY;
  if (!ReadMore(file, bytes, static_cast<uint64_t>(info.st_size))) return backdrop_text::CANNOT_ACCESS;
  return nullptr;
}

// Opens path only when it is a regular file (a FIFO would keep start-up
// waiting; a device never ends) and lets readBytes fill bytes. The cause of
// a failure, with nothing kept, or null.
const char* ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes,
                            const std::function<const char*(std::FILE*, std::vector<uint8_t>&)>& readBytes) {
  std::FILE* file = NxOpenRegularFile(path, false);
  if (!file) return backdrop_text::CANNOT_ACCESS;
  const char* cause = readBytes(file, bytes);
  std::fclose(file);
  if (cause) bytes.clear();
  return cause;
}

}  // namespace

BmpFileRead ReadBmpFile(const std::string& path, BmpLength length) {
  BmpFileRead read;
  read.Cause = ReadRegularFile(path, read.Bytes, [length](std::FILE* file, std::vector<uint8_t>& bytes) {
    return ReadDeclaredBytes(file, bytes, length);
  });
  if (read.Cause) return read;
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
  read.Cause = ReadRegularFile(path, read.Bytes, ReadWholePicture);
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
