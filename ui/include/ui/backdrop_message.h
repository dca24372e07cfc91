#pragma once

#include <string>

#include "game/string_table.h"
#include "game/text_ids.h"

// A message box the window shows on behalf of the backdrop code, which never
// opens one itself.
enum class BackdropIcon { INFORMATION, EXCLAMATION, QUESTION };

struct BackdropMessage {
  std::string Caption;
  std::string Text;
  BackdropIcon Icon = BackdropIcon::EXCLAMATION;
  bool operator==(const BackdropMessage&) const = default;
};

// The backdrop's texts live in the string table with the game's other texts.
namespace backdrop_text {
inline const char* const SCENERY_ERROR = ResourceString(SCENERY_ERROR_CAPTION);
inline const char* const SCENERY_WARNING = ResourceString(SCENERY_WARNING_CAPTION);
inline const char* const NEW_SCENERY_ERROR = ResourceString(NEW_SCENERY_ERROR_CAPTION);
inline const char* const CANNOT_ACCESS = ResourceString(CANNOT_ACCESS_BACKDROP);
inline const char* const GDI_ERROR = ResourceString(BACKDROP_IMAGE_ERROR);
inline const char* const NO_MEMORY = ResourceString(NO_MEMORY_FOR_BACKDROP);
inline const char* const USING_DEFAULT = ResourceString(USING_DEFAULT_BACKDROP);
inline const char* const CONTINUING = ResourceString(CONTINUING_WITH_BACKDROP);
inline const char* const COMPRESSED = ResourceString(COMPRESSED_BACKDROP);
inline const char* const RESOLUTION_QUESTION = ResourceString(COLOR_RESOLUTION_QUESTION);
inline const char* const RESOLUTION_CHANGED = ResourceString(COLOR_RESOLUTION_CHANGED);
inline const char* const PROBLEM_WRITING = ResourceString(PROBLEM_WRITING_BACKDROP);
inline const char* const DISK_FULL = ResourceString(DISK_MAY_BE_INACCESSIBLE);
}  // namespace backdrop_text
