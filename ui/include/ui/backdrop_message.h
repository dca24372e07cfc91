#pragma once

#include <string>

#include "game/string_table.h"

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
inline const char* const SCENERY_ERROR = ResourceString(9600);
inline const char* const SCENERY_WARNING = ResourceString(9601);
inline const char* const NEW_SCENERY_ERROR = ResourceString(9602);
inline const char* const CANNOT_ACCESS = ResourceString(9603);
inline const char* const GDI_ERROR = ResourceString(9604);
inline const char* const NO_MEMORY = ResourceString(9605);
inline const char* const USING_DEFAULT = ResourceString(9606);
inline const char* const CONTINUING = ResourceString(9607);
inline const char* const COMPRESSED = ResourceString(9608);
inline const char* const RESOLUTION_QUESTION = ResourceString(9609);
inline const char* const RESOLUTION_CHANGED = ResourceString(9610);
inline const char* const PROBLEM_WRITING = ResourceString(9611);
inline const char* const DISK_FULL = ResourceString(9612);
}  // namespace backdrop_text
