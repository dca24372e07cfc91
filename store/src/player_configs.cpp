#include "store/player_configs.h"

#include <filesystem>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "neural/safe_save.h"
#include "player/data_paths.h"
#include "store/config_name.h"
#include "store/disk_space.h"
#include "store/file_copy.h"
#include "store/install_log.h"
#include "store/setting_keys.h"

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

std::string WithoutSlash(const std::string& directory) {
  return directory.size() > 1 && directory.back() == '/' ? directory.substr(0, directory.size() - 1) : directory;
}

}  // namespace

PlayerConfigs::PlayerConfigs(std::string installationDirectory, UserMessages& messages, uint32_t colorResolution)
    : FreeSpace(FreeBytes),
      Installation(WithSlash(std::move(installationDirectory))),
      InstalledFiles(Installation),
      Messages(messages),
      ColorResolution(colorResolution),
      Registry("Quorla", "", false, Installation) {
  // Told once, as the list is opened: otherwise every configuration would
  // silently be gone from it.
  if (const auto damage = Registry.SetAsideIfDamaged())
    Messages.MessageText(
        CONFIG_WARNING_CAPTION,
        DamageMessage(*damage, {THE_CONFIGURATION_LIST, LIST_STARTS_AFRESH, LIST_READABLE_KEPT, LIST_NOT_SAVED}),
        ICON_EXCLAMATION);
  for (uint32_t slot = 0; slot < MAX_CONFIGS; ++slot) {
    std::string name = Registry.ReadString(SECTION, std::to_string(slot), "");
    // A name that could not have been added is never used as a directory.
    if (name.empty() || !IsValidConfigName(name) || IsReservedConfigName(name) || !NameIsFree(name)) continue;
    Slots[slot] = name;
    ++NumConfigs;
  }
  FindFreeSlot();
}

void PlayerConfigs::ReadInstalledFilesFrom(const std::string& directory) { InstalledFiles = WithSlash(directory); }

std::vector<std::string> PlayerConfigs::Names() const {
  std::vector<std::string> names;
  for (const std::string& name : Slots)
    if (!name.empty()) names.push_back(name);
  return names;
}

void PlayerConfigs::FindFreeSlot() {
  FreeSlot = MAX_CONFIGS;
  for (uint32_t slot = 0; slot < MAX_CONFIGS; ++slot)
    if (Slots[slot].empty()) {
      FreeSlot = slot;
      return;
    }
}

std::string PlayerConfigs::DirectoryOf(const std::string& name) const {
  if (name == DEFAULT_NAME) return Installation;
  return Installation + ConfigDirectoryName(name) + "/";
}

bool PlayerConfigs::MakeCurrent() {
  // A folder where no lock can be made cannot be written either: such a
  // copy saves nothing there, so it may go on.
  if (InUseLock.Acquire(DirectoryOf(Selected)) == ConfigLock::Claim::IN_USE) {
    Selected = InUse == "None" ? Selected : InUse;
    return false;
  }
  data_paths::SetConfigurationDirectory(DirectoryOf(Selected));
  InUse = Selected;
  InUseRemoved = false;
  return true;
}

bool PlayerConfigs::InUseElsewhere(const std::string& name) const {
  return name != InUse && ConfigLock::HeldElsewhere(DirectoryOf(name));
}

std::string PlayerConfigs::InUseMessage(const std::string& name, uint32_t outcome) const {
  return ResourceString(CONFIG_IN_USE_LEAD) + name + ResourceString(CONFIG_IN_USE_WHY) + ResourceString(outcome);
}

std::string PlayerConfigs::ResumePath() const { return DirectoryOf(InUse == "None" ? Selected : InUse) + "RESUME.QLF"; }

std::string PlayerConfigs::SettingsPath() const {
  return DirectoryOf(InUse == "None" ? Selected : InUse) + SETTINGS_FILE;
}

void PlayerConfigs::RemoveAbandonedTemporaries() const {
  NxRemoveAbandonedTemporaries(Installation);
  for (const std::string& name : Names()) NxRemoveAbandonedTemporaries(DirectoryOf(name));
}

bool PlayerConfigs::Refuse(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Messages.MessageText(captionId, text, icon);
  return false;
}

// Two names sharing a directory would share (and delete) each other's files.
bool PlayerConfigs::NameIsFree(const std::string& name) const {
  for (const std::string& used : Slots)
    if (!used.empty() && ConfigDirectoryName(used) == ConfigDirectoryName(name)) return false;
  return true;
}

bool PlayerConfigs::CheckFreeSlot() {
  if (HasFreeSlot()) return true;
  return Refuse(NO_CONFIGS_CAPTION, ResourceString(REMOVE_BEFORE_ADDING), ICON_NONE);
}

bool PlayerConfigs::HasRoom() {
  const uint64_t needed = ConfigurationSpaceNeeded(ColorResolution);
  if (FreeSpace(Installation) >= needed) return true;
  return Refuse(DISK_SPACE_CAPTION,
                ResourceString(FREE_AT_LEAST) + std::to_string(needed) + ResourceString(BYTES_ON_DRIVE) +
                    VolumeOf(Installation) + ".",
                ICON_NONE);
}

bool PlayerConfigs::CreateDirectory(const std::string& directory) {
  std::error_code error;
  fs::create_directory(directory, error);
  // A directory left behind by a failed removal is taken over.
  if (!error || (fs::is_directory(directory, error) && !fs::is_symlink(WithoutSlash(directory), error))) return true;
  return Refuse(CONFIG_WARNING_CAPTION,
                ResourceString(CANNOT_CREATE_DIRECTORY) + WithoutSlash(directory) + ResourceString(NOTHING_CREATED),
                ICON_EXCLAMATION);
}

void PlayerConfigs::RecordInLog(const std::string& directory, uint32_t slot, const std::string& name) {
  const std::string dir = WithoutSlash(directory);
  AppendToInstallLog(Installation + INSTALL_LOG,
                     {"Made Dir: " + dir, "File Copy: " + dir + "/BACKIMG.QLF", "File Copy: " + dir + "/QLPLAY.QLF",
                      "File Copy: " + dir + "/RESUME.QLF", "INI New: Created INI",
                      "INI File: " + dir + "/QUORLA.INI",
                      "RegDB Key: Software\\Palomet Technologies\\Quorla\\Player Configurations",
                      "RegDB Val: " + std::to_string(slot), "RegDB Name: " + name, "RegDB Root: 2"});
}

void PlayerConfigs::FillNewDirectory(const std::string& directory) {
  SettingsStore settings("PlayrCfg", directory + SETTINGS_FILE, true);
  WriteSetting(settings, keys::ColorResolution32, ColorResolution);
  // The new player starts from the default, unlearned networks.
  if (!CopyDataFile(InstalledFiles + data_paths::DEFAULT_DATA_FILE, directory + data_paths::PLAYER_DATA_FILE, true))
    Messages.MessageText(CONFIG_WARNING_CAPTION, ResourceString(CANNOT_COPY_PLAYER_DATA), ICON_EXCLAMATION);
  if (!CopyDataFile(InstalledFiles + BACKDROP_FILE, directory + BACKDROP_FILE, true))
    Messages.MessageText(CONFIG_WARNING_CAPTION, ResourceString(CANNOT_COPY_BACKDROP), ICON_EXCLAMATION);
}

bool PlayerConfigs::AddConfiguration(const std::string& typed) {
  if (typed.empty()) return false;
  const std::string name = TrimName(typed);
  if (IsReservedConfigName(name))
    return Refuse(CONFIG_WARNING_CAPTION, ResourceString(DEFAULT_IS_RESERVED), ICON_ERROR);
  if (!IsValidConfigName(name)) return Refuse(CONFIG_WARNING_CAPTION, ResourceString(NAME_NOT_ALLOWED), ICON_ERROR);
  if (!NameIsFree(name)) return Refuse(CONFIG_WARNING_CAPTION, ResourceString(NAME_ALREADY_USED), ICON_ERROR);
  if (!CheckFreeSlot() || !HasRoom()) return false;
  const std::string directory = DirectoryOf(name);
  if (!CreateDirectory(directory)) return false;
  const uint32_t slot = FreeSlot;
  Registry.WriteString(SECTION, std::to_string(slot), name);
  Slots[slot] = name;
  ++NumConfigs;
  RecordInLog(directory, slot, name);
  FindFreeSlot();
  FillNewDirectory(directory);
  return true;
}

bool PlayerConfigs::DeleteDirectory(const std::string& directory) {
  std::error_code error;
  const fs::path dir = WithoutSlash(directory);
  // Only a real directory directly below the installation is touched.
  if (fs::is_symlink(dir, error) || !fs::is_directory(dir, error) ||
      WithSlash(dir.parent_path().string()) != Installation)
    return false;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error))
    if (entry.is_regular_file(error) || entry.is_symlink(error)) fs::remove(entry.path(), error);
  return fs::remove(dir, error) && !error;
}

void PlayerConfigs::RemoveOne(const std::string& name) {
  // The directory holds the player's learning and statistics: nothing is
  // deleted without a yes.
  if (InUseElsewhere(name)) {
    Messages.MessageText(CONFIG_IN_USE_CAPTION, InUseMessage(name, CONFIG_IN_USE_NOT_REMOVED), ICON_EXCLAMATION);
    return;
  }
  const bool inUse = name == InUse;
  const std::string question =
      ResourceString(inUse ? CURRENTLY_USING : REMOVING_DELETES) + name + ResourceString(REALLY_REMOVE);
  if (!Messages.ConfirmText(CONFIG_WARNING_CAPTION, question)) return;
  if (inUse) InUseRemoved = true;
  const std::string directory = DirectoryOf(name);
  if (!DeleteDirectory(directory))
    Messages.MessageText(CONFIG_WARNING_CAPTION,
                     ResourceString(CANNOT_REMOVE_DIRECTORY) + WithoutSlash(directory) +
                         ResourceString(MAY_HOLD_SUBDIRECTORIES),
                     ICON_EXCLAMATION);
  for (uint32_t slot = 0; slot < MAX_CONFIGS; ++slot) {
    if (Slots[slot] != name) continue;
    Registry.DeleteValue(SECTION, std::to_string(slot));
    Slots[slot].clear();
    --NumConfigs;
    FreeSlot = std::min(FreeSlot, slot);
  }
}

PlayerConfigs::AfterRemoval PlayerConfigs::RemoveConfigurations(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    bool listed = false;
    for (const std::string& used : Slots) listed = listed || (!used.empty() && used == name);
    if (listed) RemoveOne(name);
  }
  if (!InUseRemoved) return AfterRemoval::CARRY_ON;
  if (NumConfigs > 0) return AfterRemoval::CHOOSE_ANOTHER;
  Selected = DEFAULT_NAME;
  return AfterRemoval::SWITCH_TO_DEFAULT;
}
