#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/damaged_file.h"
#include "store/profile_text.h"
#include "store/settings_check.h"

enum class StoreMode { REGISTRY, FILE };

// Section/key/value settings, either in a settings file of its own (INI
// text) or in the system-wide store that stands in for the registry: a file
// of the same section/key/value shape, kept in the installation directory,
// whose values carry their type. A read that fails for any reason yields
// its default; a write that fails records an error number and is otherwise
// ignored. Every change is saved at once (or, inside a Batch, when the
// batch ends), and a save never destroys the previous good file.
class SettingsStore {
 public:
  // While a batch lives, the store keeps the file's text in memory: reads
  // see the changes made so far and the file is written once, when the
  // outermost batch ends. A save sequence of dozens of keys then costs one
  // atomic write instead of one each, and the file holds either all of the
  // sequence or none of it.
  class Batch {
   public:
    explicit Batch(SettingsStore& store);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    SettingsStore& Store;
  };

  static constexpr const char* REGISTRY_FILE = "QUORLA.REG";
  static constexpr const char* KEY_PATH = "Software\\Palomet Technologies\\";
  // Larger files cannot be settings (see SetAsideIfDamaged).
  static constexpr size_t MAX_FILE_BYTES = 1 << 20;
  static constexpr size_t VALUE_BUFFER = 512;
  static constexpr size_t INTEGER_BUFFER = 24;
  // Error numbers kept in LastError().
  static constexpr uint32_t ACCESS_DENIED = 5;
  static constexpr uint32_t INVALID_PARAMETER = 87;

  // File mode on settingsPath when preferFile is set; otherwise registry
  // mode, backed by REGISTRY_FILE in registryDirectory.
  SettingsStore(std::string applicationName, std::string settingsPath, bool preferFile,
                std::string registryDirectory = {});

  void WriteInt(std::string_view section, std::string_view key, uint32_t value);
  void WriteString(std::string_view section, std::string_view key, std::string_view text);
  uint32_t ReadInt(std::string_view section, std::string_view key, uint32_t defaultValue);
  // At most maxLength - 1 characters (and never more than the value buffer holds).
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                         size_t maxLength = VALUE_BUFFER);
  void DeleteValue(std::string_view section, std::string_view key);

  // A store over the given text alone, backed by no file: reads see the
  // text, writes change only the copy in memory. For looking at settings
  // as the program would take them without touching any file.
  static SettingsStore OverText(std::string applicationName, StoreMode mode, std::string_view text);

  // Looks at the file once, where it is opened, before anything is written
  // to it: one that is there but is no sound settings file (no regular file
  // behind the name, unreadable, larger than MAX_FILE_BYTES, or damaged
  // text by CheckSettingsText with the given value rule) is set aside. What
  // could still be read of it then takes its place as a fresh file, so
  // that damage to one line does not cost every setting; with nothing
  // readable the store starts afresh. When it cannot be set aside the
  // store leaves it alone from then on: reads yield defaults and writes are
  // refused. Nothing when the file is missing or sound.
  std::optional<DamagedFile> SetAsideIfDamaged(const SettingValueRule& rule = {});

  uint32_t LastError() const { return Error; }
  StoreMode Mode() const { return StoreModeValue; }
  const std::string& Path() const { return FilePath; }
  // Every key of a section, for inspection.
  std::vector<std::string> Keys(std::string_view section);

 private:
  // The section as it is named in the backing file.
  std::string SectionPath(std::string_view section) const;
  bool Load(ProfileText& text);
  void Save(const ProfileText& text);
  std::optional<std::string> ReadRaw(std::string_view section, std::string_view key);
  void WriteRaw(std::string_view section, std::string_view key, std::string_view value);

  void EndBatch();

  std::string Application;
  std::string FilePath;
  StoreMode StoreModeValue;
  bool LeaveFileAlone = false;  // damaged, and it could not be set aside
  bool InMemory = false;        // see OverText: Pending holds the text for good
  uint32_t Error = 0;
  unsigned BatchDepth = 0;
  std::optional<ProfileText> Pending;  // the text as the open batch has it
  bool PendingChanged = false;
};

// "%lu" applied to at most INTEGER_BUFFER - 1 characters; nothing when no
// digits lead the text.
std::optional<uint32_t> ParseUnsigned(std::string_view text);
