#include "app/folder_notice.h"

#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/settings_store.h"

namespace {

constexpr const char* TOLD_SECTION = "Quorla";
constexpr const char* TOLD_KEY = "ReadOnlyFolderTold";

std::string WithoutSlash(const std::string& directory) {
  return directory.size() > 1 && directory.back() == '/' ? directory.substr(0, directory.size() - 1) : directory;
}

}  // namespace

std::string LeftBehindFilesNotice(SettingsStore& store, const std::string& installation,
                                  const std::string& filesNowIn) {
  const std::string folder = WithoutSlash(installation);
  if (store.ReadString(TOLD_SECTION, TOLD_KEY, "") == folder) return "";
  store.WriteString(TOLD_SECTION, TOLD_KEY, folder);
  return ResourceString(FOLDER_NOT_WRITABLE) + folder + ResourceString(FILES_LEFT_THERE) + WithoutSlash(filesNowIn) +
         ResourceString(FILES_NOW_IN);
}
