#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/user_messages.h"
#include "store/config_lock.h"
#include "store/settings_store.h"

// The named player configurations sharing one installation. Each lives in
// a directory of its own below the installation directory (its name in
// upper case) with its settings, learned networks, saved game and
// backdrop; "Default" is the installation directory itself. The list is
// kept in the system-wide store, slots "0" to "23"; nothing outside the
// installation directory is ever created or deleted.
class PlayerConfigs {
 public:
  static constexpr uint32_t MAX_CONFIGS = 24;
  static constexpr const char* DEFAULT_NAME = "Default";
  static constexpr const char* SECTION = "Player Configurations";
  static constexpr const char* SETTINGS_FILE = "QUORLA.INI";
  static constexpr const char* BACKDROP_FILE = "BACKIMG.QLF";

  // What the application must do after a removal.
  enum class AfterRemoval { CARRY_ON, SWITCH_TO_DEFAULT, CHOOSE_ANOTHER };

  PlayerConfigs(std::string installationDirectory, UserMessages& messages, uint32_t colorResolution = 32);

  // True when the configuration was created; every refusal and failure is
  // shown as a message.
  bool AddConfiguration(const std::string& name);
  // The create command: false (with the message) when no slot is free.
  bool CheckFreeSlot();
  // Asks about each name before deleting its directory; a no keeps it.
  AfterRemoval RemoveConfigurations(const std::vector<std::string>& names);

  const std::string& SelectedName() const { return Selected; }
  void Select(const std::string& name) { Selected = name; }
  const std::string& NameInUse() const { return InUse; }
  // In slot order, "Default" not included.
  std::vector<std::string> Names() const;
  uint32_t Count() const { return NumConfigs; }
  bool HasFreeSlot() const { return FreeSlot < MAX_CONFIGS; }
  uint32_t LowestFreeSlot() const { return FreeSlot; }

  // With a trailing '/'.
  std::string DirectoryOf(const std::string& name) const;
  // Makes the selected configuration the current one for the whole process
  // and claims it for this copy of the program. False, with nothing
  // changed, when another running copy uses it.
  bool MakeCurrent();
  // Whether another running copy of the program uses the configuration.
  bool InUseElsewhere(const std::string& name) const;
  // The message telling that `name` is in use elsewhere, ending with what
  // happens instead (`outcome`, a text id).
  std::string InUseMessage(const std::string& name, uint32_t outcome) const;
  std::string ResumePath() const;
  std::string SettingsPath() const;

  // Where the installed data files (the default networks and backdrop) a
  // new configuration starts from are read: the installation directory
  // unless the configurations live elsewhere (a read-only installation).
  void ReadInstalledFilesFrom(const std::string& directory);

  // Removes the temporary files that saves interrupted in an earlier run
  // left in the directories configurations write: the installation's (or
  // wherever the configurations live) and each configuration's own.
  void RemoveAbandonedTemporaries() const;

  // How free space is measured; tests replace it.
  std::function<uint64_t(const std::string&)> FreeSpace;

 private:
  bool Refuse(uint32_t captionId, const std::string& text, MessageIcon icon);
  bool NameIsFree(const std::string& name) const;
  bool HasRoom();
  bool CreateDirectory(const std::string& directory);
  void RecordInLog(const std::string& directory, uint32_t slot, const std::string& name);
  void FillNewDirectory(const std::string& directory);
  void RemoveOne(const std::string& name);
  bool DeleteDirectory(const std::string& directory);
  void FindFreeSlot();

  std::string Installation;
  std::string InstalledFiles;
  UserMessages& Messages;
  uint32_t ColorResolution;
  SettingsStore Registry;
  std::array<std::string, MAX_CONFIGS> Slots;
  uint32_t NumConfigs = 0;
  uint32_t FreeSlot = MAX_CONFIGS;
  std::string Selected = DEFAULT_NAME;
  std::string InUse = "None";
  bool InUseRemoved = false;
  ConfigLock InUseLock;
};
