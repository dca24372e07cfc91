#pragma once

#include <string>

// A message box the window shows on behalf of the backdrop code, which never
// opens one itself.
enum class BackdropIcon { INFORMATION, EXCLAMATION, QUESTION };

struct BackdropMessage {
  std::string Caption;
  std::string Text;
  BackdropIcon Icon = BackdropIcon::EXCLAMATION;
  bool operator==(const BackdropMessage&) const = default;
};

namespace backdrop_text {
inline constexpr const char* SCENERY_ERROR = "Quorla Backdrop Scenery Error";
inline constexpr const char* SCENERY_WARNING = "Quorla Backdrop Scenery Warning";
inline constexpr const char* NEW_SCENERY_ERROR = "New Backdrop Scenery Error";
inline constexpr const char* CANNOT_ACCESS = "Cannot access backdrop bitmap file ";
inline constexpr const char* GDI_ERROR = "GDI error while loading bitmap image ";
inline constexpr const char* NO_MEMORY = "Insufficient memory to load backdrop image ";
inline constexpr const char* USING_DEFAULT = ". Using default backdrop instead.";
inline constexpr const char* CONTINUING = ". Continuing with current backdrop instead.";
inline constexpr const char* COMPRESSED = "Image is Compressed. Quorla cannot display compressed bitmaps.";
inline constexpr const char* RESOLUTION_QUESTION =
    "Your display may not have the color resolution to properly display this image. Continue?";
inline constexpr const char* RESOLUTION_CHANGED =
    "Because of a change in system color resolution, you may need to reselect scenery.";
inline constexpr const char* PROBLEM_WRITING = "Problem writing ";
inline constexpr const char* DISK_FULL = "--disk may be full or inaccessible";
}  // namespace backdrop_text
