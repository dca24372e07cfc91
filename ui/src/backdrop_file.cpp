#include "ui/backdrop_file.h"

#include <filesystem>
#include <system_error>

#include "store/atomic_file.h"

BmpFileRead ReadBmpFile(const std::string& path) {
  BmpFileRead read;
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size > BACKDROP_MAX_FILE_BYTES) {
    read.Cause = backdrop_text::NO_MEMORY;
    return read;
  }
  auto bytes = ReadFileLimited(path, BACKDROP_MAX_FILE_BYTES);
  if (!bytes) {
    read.Cause = backdrop_text::CANNOT_ACCESS;
    return read;
  }
  read.Bytes = std::move(*bytes);
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
