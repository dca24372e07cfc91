#include "store/settings_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <utility>

#include "store/atomic_file.h"

namespace {

constexpr std::string_view DWORD_TAG = "dword:";
constexpr std::string_view TEXT_TAG = "sz:";

// A value may not carry a line break into the file.
std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

std::string_view Clip(std::string_view text, size_t bufferSize) {
  return text.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
}

}  // namespace

std::optional<uint32_t> ParseUnsigned(std::string_view text) {
  text = Clip(text, SettingsStore::INTEGER_BUFFER);
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t value = 0;
  size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits)
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(text[i] - '0'), 0x100000000ULL);
  if (digits == 0) return std::nullopt;
  if (value > 0xFFFFFFFFULL) return 0xFFFFFFFFU;  // out of range saturates, as strtoul does
  uint32_t result = static_cast<uint32_t>(value);
  return negative ? static_cast<uint32_t>(0U - result) : result;
}

SettingsStore::SettingsStore(std::string applicationName, std::string settingsPath, bool preferFile,
                             std::string registryDirectory)
    : Application(std::move(applicationName)),
      StoreModeValue(preferFile ? StoreMode::FILE : StoreMode::REGISTRY) {
  if (preferFile) {
    FilePath = std::move(settingsPath);
  } else {
    if (!registryDirectory.empty() && registryDirectory.back() != '/') registryDirectory += '/';
    FilePath = registryDirectory + REGISTRY_FILE;
  }
}

std::string SettingsStore::SectionPath(std::string_view section) const {
  if (StoreModeValue == StoreMode::FILE) return std::string(section);
  return std::string(KEY_PATH) + Application + "\\" + std::string(section);
}

SettingsStore SettingsStore::OverText(std::string applicationName, StoreMode mode, std::string_view text) {
  SettingsStore store(std::move(applicationName), "", mode == StoreMode::FILE);
  store.InMemory = true;
  store.Pending = ProfileText(text);
  return store;
}

std::optional<DamagedFile> SettingsStore::SetAsideIfDamaged(const SettingValueRule& rule) {
  // Nothing at the name (or a directory that cannot be searched) is no
  // damage: the store starts from defaults, as for a new configuration.
  struct stat status;
  if (InMemory || lstat(FilePath.c_str(), &status) != 0) return std::nullopt;
  const auto bytes = ReadFileLimited(FilePath, MAX_FILE_BYTES);
  SettingsCheck check;
  if (bytes) {
    check = CheckSettingsText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                              StoreModeValue == StoreMode::REGISTRY, rule);
    if (check.Sound) return std::nullopt;
  }
  DamagedFile damage = SetDamagedFileAside(FilePath);
  LeaveFileAlone = !damage.KeptAside;
  // Written before anyone reads from the store, so that no default can
  // take the place of a key that could be read.
  if (damage.KeptAside && check.SalvagedKeys > 0)
    damage.ReadableKept = SaveFileAtomically(FilePath, std::vector<uint8_t>(check.Salvaged.begin(),
                                                                            check.Salvaged.end())) ==
                          SaveResult::SAVED;
  return damage;
}

SettingsStore::Batch::Batch(SettingsStore& store) : Store(store) { ++Store.BatchDepth; }

SettingsStore::Batch::~Batch() { Store.EndBatch(); }

void SettingsStore::EndBatch() {
  if (--BatchDepth > 0 || InMemory) return;
  if (Pending && PendingChanged) {
    const ProfileText text = std::move(*Pending);
    Pending.reset();
    PendingChanged = false;
    Save(text);
  }
  Pending.reset();
}

bool SettingsStore::Load(ProfileText& text) {
  if (Pending) {
    text = *Pending;
    return true;
  }
  if (LeaveFileAlone) {
    Error = ACCESS_DENIED;
    return false;
  }
  std::error_code ignored;
  if (!std::filesystem::exists(FilePath, ignored)) {
    text = ProfileText();
  } else {
    auto bytes = ReadFileLimited(FilePath, MAX_FILE_BYTES);
    if (!bytes) {
      Error = ACCESS_DENIED;
      return false;
    }
    text = ProfileText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  }
  if (BatchDepth > 0) Pending = text;
  return true;
}

void SettingsStore::Save(const ProfileText& text) {
  if (BatchDepth > 0 || InMemory) {
    Pending = text;
    PendingChanged = true;
    return;
  }
  std::string body = text.Text();
  SaveResult result = SaveFileAtomically(FilePath, std::vector<uint8_t>(body.begin(), body.end()));
  Error = result == SaveResult::SAVED ? 0 : (errno != 0 ? static_cast<uint32_t>(errno) : ACCESS_DENIED);
}

std::optional<std::string> SettingsStore::ReadRaw(std::string_view section, std::string_view key) {
  Error = 0;
  ProfileText text;
  if (!Load(text)) return std::nullopt;
  return text.Get(SectionPath(section), key);
}

void SettingsStore::WriteRaw(std::string_view section, std::string_view key, std::string_view value) {
  // Nothing goes in that would make the file read as damaged.
  if (!IsStorableProfileName(section) || !IsStorableProfileName(key) || !IsSettingsText(SectionPath(section)) ||
      !IsSettingsText(key) || !IsSettingsText(FirstLine(value))) {
    Error = INVALID_PARAMETER;
    return;
  }
  Error = 0;
  ProfileText text;
  if (!Load(text)) return;
  text.Set(SectionPath(section), key, FirstLine(value));
  Save(text);
}

void SettingsStore::WriteInt(std::string_view section, std::string_view key, uint32_t value) {
  std::string digits = std::to_string(value);
  WriteRaw(section, key, StoreModeValue == StoreMode::FILE ? digits : std::string(DWORD_TAG) + digits);
}

void SettingsStore::WriteString(std::string_view section, std::string_view key, std::string_view text) {
  std::string line(FirstLine(text));
  WriteRaw(section, key, StoreModeValue == StoreMode::FILE ? line : std::string(TEXT_TAG) + line);
}

uint32_t SettingsStore::ReadInt(std::string_view section, std::string_view key, uint32_t defaultValue) {
  auto raw = ReadRaw(section, key);
  if (!raw) return defaultValue;
  std::string_view value = *raw;
  if (StoreModeValue == StoreMode::REGISTRY) {
    // A value of another type yields the default.
    if (value.substr(0, DWORD_TAG.size()) != DWORD_TAG) return defaultValue;
    value.remove_prefix(DWORD_TAG.size());
  }
  return ParseUnsigned(value).value_or(defaultValue);
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key, std::string_view defaultText,
                                      size_t maxLength) {
  const size_t buffer = std::min(maxLength, VALUE_BUFFER);
  auto raw = ReadRaw(section, key);
  std::string_view value = raw ? std::string_view(*raw) : defaultText;
  if (raw && StoreModeValue == StoreMode::REGISTRY) {
    if (value.substr(0, TEXT_TAG.size()) != TEXT_TAG)
      value = defaultText;
    else
      value.remove_prefix(TEXT_TAG.size());
  }
  return std::string(Clip(value, buffer));
}

void SettingsStore::DeleteValue(std::string_view section, std::string_view key) {
  Error = 0;
  ProfileText text;
  if (!Load(text)) return;
  if (text.Remove(SectionPath(section), key)) Save(text);
}

std::vector<std::string> SettingsStore::Keys(std::string_view section) {
  ProfileText text;
  if (!Load(text)) return {};
  return text.Keys(SectionPath(section));
}
