#pragma once

#include <string>

// Keeps one running copy of the program per player configuration: the copy
// that uses a configuration holds a lock on a file in its directory. The
// kernel drops the lock with the process however it ends, so a copy that
// was killed never keeps the configuration from the next start.
class ConfigLock {
 public:
  static constexpr const char* LOCK_FILE = "QUORLA.LCK";

  enum class Claim {
    HELD,         // this copy holds the configuration now
    IN_USE,       // another copy holds it
    UNLOCKABLE,   // no lock file can be made there (a read-only folder): nothing is written there either
  };

  ConfigLock() = default;
  ~ConfigLock();
  ConfigLock(ConfigLock&& other) noexcept;
  ConfigLock& operator=(ConfigLock&& other) noexcept;
  ConfigLock(const ConfigLock&) = delete;
  ConfigLock& operator=(const ConfigLock&) = delete;

  // Claims the configuration whose directory is `directory` (with or
  // without a trailing '/'). A lock held before is kept only when the
  // claim succeeds, so a copy never ends up holding nothing.
  Claim Acquire(const std::string& directory);
  void Release();
  bool Holds() const { return Descriptor >= 0; }
  const std::string& Directory() const { return HeldDirectory; }

  // Whether a copy other than this one's lock holds `directory`. A lock
  // held by this process through another ConfigLock counts as another copy.
  static bool HeldElsewhere(const std::string& directory);

 private:
  int Descriptor = -1;
  std::string HeldDirectory;
};
