#include "ui/startup_checks.h"

#include <cctype>
#include <charconv>
#include <filesystem>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"

namespace {

constexpr std::string_view PROGRAM_NAME = "QUORLA32";

bool ReadNumber(std::string_view& text, uint32_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

PlatformVersion ParsePlatformVersion(std::string_view text) {
  PlatformVersion version;
  if (!ReadNumber(text, version.Major) || text.empty() || text.front() != '.') return {};
  text.remove_prefix(1);
  if (!ReadNumber(text, version.Minor)) return {};
  return version;
}

bool IsSupportedPlatform(PlatformVersion running, PlatformVersion required) {
  if (running.Major == 0) return false;
  return running.Major > required.Major || (running.Major == required.Major && running.Minor >= required.Minor);
}

void CheckPlatform(PlatformVersion running, PlatformVersion required) {
  if (!IsSupportedPlatform(running, required))
    throw StartupFailure(ResourceString(REQUIRES_PLATFORM));
}

std::string InstallationDirectoryOf(const std::string& programPath) {
  // The file name itself is compared: a directory that happens to carry the
  // program's name must not be taken for the program.
  const std::filesystem::path path(programPath);
  if (!path.has_parent_path() || !SameIgnoringCase(path.filename().string(), PROGRAM_NAME))
    throw StartupFailure(ResourceString(APPLICATION_PATH_ERROR));
  std::string directory = path.parent_path().string();
  if (directory.back() != '/') directory += '/';
  return directory;
}
