#pragma once

#include <cstdint>
#include <string>

class NxTemporalDifferenceNet;
class UserMessages;

// The computer player's network data files: reading one level's pair of
// networks from the player's file or the installed defaults, writing a
// level back into the player's file, and starting the player's file from
// the defaults. Problems are reported to the person through `messages`.
// A fixed data file (matches between set networks) is read for every level
// and never written.
class NetworkDataFiles {
 public:
  explicit NetworkDataFiles(UserMessages& messages) : Messages(messages) {}

  void UseFixedFile(const std::string& path) { FixedFile = path; }
  bool HasFixedFile() const { return !FixedFile.empty(); }

  enum class LoadResult {
    LOADED,
    FAILED,           // reported to the person
    LEVEL4_MISSING,   // the player's file predates the fourth level: not reported
  };
  LoadResult Load(uint32_t level, bool fromDefault, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high);
  // Rewrites the two records of one level; the other levels keep their bytes.
  void Save(uint32_t level, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high);
  // Replaces the player's file by the four blocks of the default file.
  bool CopyDefaults();

 private:
  void Show(const std::string& text, uint32_t icon);

  UserMessages& Messages;
  std::string FixedFile;
};
