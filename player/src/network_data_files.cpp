// Reading and writing the computer player's network data files.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "game/user_messages.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/safe_save.h"
#include "player/data_paths.h"
#include "player/position_network.h"
#include "player/network_data_check.h"
#include "player/network_data_files.h"

namespace {

std::string Text(uint32_t id) { return ResourceString(id); }

// Far more than the four level blocks the game writes: a larger file was
// not written by it, and is neither read into memory nor rewritten.
constexpr long MAX_DATA_FILE_BYTES = 1L << 20;

long CheckedSize(NxFile& file) {
  file.FSeek(0, 2);
  const long size = file.FTell();
  if (size < 0 || size > MAX_DATA_FILE_BYTES) throw XCFileBad(file.GetFileName(), "File too large");
  return size;
}

// Everything of a file, for rewriting one block of it.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  NxFile in(path, "rb", true);
  const long size = CheckedSize(in);
  in.FSeek(0, 0);
  bytes.resize(static_cast<size_t>(size));
  bool read = size == 0 || in.FRead(bytes.data(), static_cast<unsigned>(size), 1) == 1;
  in.FClose();
  return read;
}

bool WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  NxSafeSave save(path);
  if (!save.Opened()) return false;
  NxFile file(path, save.GetStream(), "wb");
  const bool written = bytes.empty() || file.FWrite(bytes.data(), static_cast<unsigned>(bytes.size()), 1) == 1;
  file.FClose();
  return written && save.Commit();
}

}  // namespace

NetworkDataFiles::LoadResult NetworkDataFiles::Load(uint32_t level, bool fromDefault, NxTemporalDifferenceNet& low,
                                                   NxTemporalDifferenceNet& high) {
  std::string path = !FixedFile.empty() ? FixedFile
                     : fromDefault          ? data_paths::DefaultDataPath()
                                            : data_paths::PlayerDataPath();
  std::string ending = Text(fromDefault ? QUORLA_WILL_CLOSE : USING_DEFAULT_DATA);
  enum class Failure { NONE, REJECTED, SEEK, ACCESS } failure = Failure::NONE;
  bool longer = false;
  try {
    NxFile file(path, "rb", true);
    CheckedSize(file);
    const network_data::BlockCheck check = network_data::ReadLevelBlock(file, level, low, high);
    file.FClose();
    // A block past the end of the file cannot be reached.
    if (!check.Reached)
      failure = Failure::SEEK;
    else if (!check.Sound())
      failure = Failure::REJECTED;
    longer = check.TrailingBytes() > 0;
  } catch (const XCFile&) {
    failure = Failure::ACCESS;
  }
  // Only a file that stops short of the fourth level's block, or where that
  // block alone is unusable, predates the fourth level: one that goes on
  // past the four blocks was never written by the game.
  const bool topLevelMissing = !fromDefault && !longer &&
                               ((failure == Failure::REJECTED && level == 3) || (failure == Failure::SEEK && level >= 3));
  if (!fromDefault && FixedFile.empty())
    NotePlayerFile(failure == Failure::ACCESS, failure != Failure::NONE && !topLevelMissing);
  switch (failure) {
    case Failure::NONE: return LoadResult::LOADED;
    case Failure::REJECTED:
      if (topLevelMissing) return LoadResult::LEVEL4_MISSING;
      Show(path + Text(INCORRECT_DATA_FORMAT) + ending, ICON_EXCLAMATION);
      return LoadResult::FAILED;
    case Failure::SEEK:
      if (topLevelMissing) return LoadResult::LEVEL4_MISSING;
      [[fallthrough]];
    case Failure::ACCESS:
      Show(Text(CANNOT_ACCESS_DATA_FILE) + path + ending, ICON_EXCLAMATION);
      return LoadResult::FAILED;
  }
  return LoadResult::FAILED;
}

void NetworkDataFiles::NotePlayerFile(bool unreadable, bool damaged) {
  std::error_code error;
  if (unreadable)
    PlayerFile = std::filesystem::exists(std::filesystem::symlink_status(data_paths::PlayerDataPath(), error))
                     ? PlayerFileState::UNREADABLE
                     : PlayerFileState::MISSING;
  else
    PlayerFile = damaged ? PlayerFileState::DAMAGED : PlayerFileState::READ;
}

// The person's file is rewritten only when it could be read whole: one
// that could not be read is never replaced by what this run learned from
// the defaults. A damaged file is first kept aside as it was; so is one
// that goes on past the four level blocks, whose rewrite ends with them.
bool NetworkDataFiles::RewriteLevel(uint32_t level, const std::function<bool(NxFile&)>& writeBlock) {
  if (PlayerFile == PlayerFileState::UNREADABLE) return false;
  const std::string path = data_paths::PlayerDataPath();
  try {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    const long trailing = network_data::BytesPastLevelBlocks(static_cast<long>(bytes.size()));
    if ((PlayerFile == PlayerFileState::DAMAGED || trailing > 0) &&
        !WriteWholeFile(path + DAMAGED_COPY_SUFFIX, bytes))
      return false;
    bytes.resize(bytes.size() - static_cast<size_t>(trailing));
    NxSafeSave save(path);
    if (!save.Opened()) return false;
    NxFile file(path, save.GetStream(), "w+b");
    bool written = bytes.empty() || file.FWrite(bytes.data(), static_cast<unsigned>(bytes.size()), 1) == 1;
    file.FSeek(static_cast<long>(level) * LEVEL_BLOCK_BYTES, 0);
    written = written && writeBlock(file);
    file.FClose();
    if (!written || !save.Commit()) return false;
  } catch (const XCFile&) {
    return false;
  }
  PlayerFile = PlayerFileState::READ;
  return true;
}

// Rewrites the two records of one level; the other levels' blocks keep
// their bytes. A file shorter than the level's block is extended. The new
// file replaces the old one only once it is complete and on disk.
bool NetworkDataFiles::Save(uint32_t level, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high,
                            bool report) {
  if (!FixedFile.empty()) return true;
  const bool saved = RewriteLevel(level, [&low, &high](NxFile& file) {
    return low.WriteWeights(file, VERSION_0) && high.WriteWeights(file, VERSION_0);
  });
  if (!saved && report)
    Show(Text(CANNOT_SAVE_DATA_FILE) + data_paths::PlayerDataPath() + Text(DATA_DISK_MAY_BE_FULL), ICON_EXCLAMATION);
  return saved;
}

bool NetworkDataFiles::MendPlayerFile(uint32_t level) {
  if (!FixedFile.empty()) return true;
  if (PlayerFile == PlayerFileState::MISSING) return CopyDefaults();
  if (PlayerFile != PlayerFileState::DAMAGED) return true;
  bool mended = false;
  try {
    std::vector<unsigned char> block(LEVEL_BLOCK_BYTES);
    NxFile in(data_paths::DefaultDataPath(), "rb", true);
    in.FSeek(static_cast<long>(level) * LEVEL_BLOCK_BYTES, 0);
    mended = in.FRead(block.data(), LEVEL_BLOCK_BYTES, 1) == 1 && RewriteLevel(level, [&block](NxFile& file) {
               return file.FWrite(block.data(), LEVEL_BLOCK_BYTES, 1) == 1;
             });
  } catch (const XCFile&) {
    mended = false;
  }
  if (!mended)
    Show(Text(CANNOT_SAVE_DATA_FILE) + data_paths::PlayerDataPath() + Text(DATA_DISK_MAY_BE_FULL) +
             Text(QUORLA_WILL_CLOSE),
         ICON_NONE);
  return mended;
}

// Replaces the player file by the four blocks of the default file.
bool NetworkDataFiles::CopyDefaults() {
  if (!FixedFile.empty()) return true;
  std::string source = data_paths::DefaultDataPath();
  std::string path = data_paths::PlayerDataPath();
  std::unique_ptr<NxFile> in;
  try {
    in = std::make_unique<NxFile>(source, "rb", true);
  } catch (const XCFile&) {
    Show(Text(CANNOT_ACCESS_DATA_FILE) + source + Text(QUORLA_WILL_CLOSE), ICON_NONE);
    return false;
  }
  bool copied = false;
  try {
    NxSafeSave save(path);
    if (save.Opened()) {
      NxFile out(path, save.GetStream(), "wb");
      std::vector<unsigned char> block(LEVEL_BLOCK_BYTES);
      copied = true;
      for (uint32_t level = 0; level < NUM_LEVELS && copied; ++level)
        copied =
            in->FRead(block.data(), LEVEL_BLOCK_BYTES, 1) == 1 && out.FWrite(block.data(), LEVEL_BLOCK_BYTES, 1) == 1;
      out.FClose();
      copied = copied && save.Commit();
    }
  } catch (const XCFile&) {
    copied = false;
  }
  if (!copied) {
    Show(Text(CANNOT_SAVE_DATA_FILE) + path + Text(DATA_DISK_MAY_BE_FULL) + Text(QUORLA_WILL_CLOSE), ICON_NONE);
    return false;
  }
  return true;
}

void NetworkDataFiles::Show(const std::string& text, uint32_t icon) {
  Messages.MessageText(DATA_FILE_CAPTION, text, static_cast<MessageIcon>(icon));
}
