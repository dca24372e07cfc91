#pragma once

#include <cstdint>
#include <functional>
#include <string>

class NxFile;
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

  enum class LoadResult {
    LOADED,
    FAILED,           // reported to the person
    LEVEL4_MISSING,   // the player's file predates the fourth level: not reported
  };
  LoadResult Load(uint32_t level, bool fromDefault, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high);
  // Rewrites the two records of one level; the other levels keep their
  // bytes. A player's file that could not be read at the last load is left
  // as it is, and not saved. A failure is reported to the person unless
  // the caller reports it with others (`report` false); false then.
  bool Save(uint32_t level, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high, bool report = true);
  // Replaces the player's file by the four blocks of the default file.
  bool CopyDefaults();
  // After the defaults of a level stood in for the player's file: a missing
  // file is made from the defaults; in a damaged one (bytes past the four
  // blocks count as damage) only that level's block becomes the default
  // block, the other levels keep their learning, the file ends with the
  // four blocks, and the file as it was is kept beside it
  // (DAMAGED_COPY_SUFFIX); a file that could not be read is left alone.
  // False, reported, when writing failed.
  bool MendPlayerFile(uint32_t level);

  static constexpr const char* DAMAGED_COPY_SUFFIX = ".damaged";

 private:
  // What the last load from the player's file found.
  enum class PlayerFileState { READ, MISSING, UNREADABLE, DAMAGED };

  void NotePlayerFile(bool unreadable, bool damaged);
  bool RewriteLevel(uint32_t level, const std::function<bool(NxFile&)>& writeBlock);
  void Show(const std::string& text, uint32_t icon);

  UserMessages& Messages;
  std::string FixedFile;
  PlayerFileState PlayerFile = PlayerFileState::READ;
};
