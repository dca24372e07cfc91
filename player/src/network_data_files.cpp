// Reading and writing the computer player's network data files.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "game/string_table.h"
#include "game/user_messages.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/safe_save.h"
#include "player/data_paths.h"
#include "player/position_network.h"
#include "player/network_data_files.h"

namespace {

constexpr uint32_t DATA_CAPTION = 9032;
constexpr uint32_t CANNOT_ACCESS = 9033;
constexpr uint32_t USING_DEFAULT = 9034;
constexpr uint32_t INCORRECT_FORMAT = 9035;
constexpr uint32_t WILL_CLOSE = 9036;
constexpr uint32_t CANNOT_SAVE = 9037;
constexpr uint32_t DISK_FULL = 9038;

std::string Text(uint32_t id) { return ResourceString(id); }

// Everything of a file, for rewriting one block of it.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  NxFile in(path, "rb", true);
  in.FSeek(0, 2);
  long size = in.FTell();
  in.FSeek(0, 0);
  bytes.resize(static_cast<size_t>(size));
  bool read = size == 0 || in.FRead(bytes.data(), static_cast<unsigned>(size), 1) == 1;
  in.FClose();
  return read;
}

}  // namespace

NetworkDataFiles::LoadResult NetworkDataFiles::Load(uint32_t level, bool fromDefault, NxTemporalDifferenceNet& low,
                                                   NxTemporalDifferenceNet& high) {
  std::string path = !FixedFile.empty() ? FixedFile
                     : fromDefault          ? data_paths::DefaultDataPath()
                                            : data_paths::PlayerDataPath();
  std::string ending = Text(fromDefault ? WILL_CLOSE : USING_DEFAULT);
  enum class Failure { NONE, REJECTED, SEEK, ACCESS } failure = Failure::NONE;
  try {
    NxFile file(path, "rb", true);
    // A block past the end of the file cannot be reached.
    long start = static_cast<long>(level) * LEVEL_BLOCK_BYTES;
    file.FSeek(0, 2);
    long size = file.FTell();
    if (size < start) throw XCFileInvalidSeek(path);
    file.FSeek(start, 0);
    if (!low.ReadWeights(file) || !high.ReadWeights(file)) failure = Failure::REJECTED;
    file.FClose();
  } catch (const XCFileInvalidSeek&) {
    failure = Failure::SEEK;
  } catch (const XCFile&) {
    failure = Failure::ACCESS;
  }
  switch (failure) {
    case Failure::NONE: return LoadResult::LOADED;
    case Failure::REJECTED:
      if (level == 3 && !fromDefault) return LoadResult::LEVEL4_MISSING;
      Show(path + Text(INCORRECT_FORMAT) + ending, ICON_EXCLAMATION);
      return LoadResult::FAILED;
    case Failure::SEEK:
      if (level >= 3 && !fromDefault) return LoadResult::LEVEL4_MISSING;
      [[fallthrough]];
    case Failure::ACCESS:
      Show(Text(CANNOT_ACCESS) + path + ending, ICON_EXCLAMATION);
      return LoadResult::FAILED;
  }
  return LoadResult::FAILED;
}

// Rewrites the two records of one level; the other levels' blocks keep
// their bytes. A file shorter than the level's block is extended. The new
// file replaces the old one only once it is complete and on disk.
void NetworkDataFiles::Save(uint32_t level, NxTemporalDifferenceNet& low, NxTemporalDifferenceNet& high) {
  if (!FixedFile.empty()) return;
  std::string path = data_paths::PlayerDataPath();
  bool saved = false;
  try {
    std::vector<unsigned char> bytes;
    if (!std::filesystem::is_regular_file(path)) throw XCFileBad(path, "No such file or directory");
    if (ReadWholeFile(path, bytes)) {
      NxSafeSave save(path);
      if (save.Opened()) {
        NxFile file(path, save.GetStream(), "w+b");
        saved = (bytes.empty() || file.FWrite(bytes.data(), static_cast<unsigned>(bytes.size()), 1) == 1);
        file.FSeek(static_cast<long>(level) * LEVEL_BLOCK_BYTES, 0);
        saved = saved && low.WriteWeights(file, VERSION_0) && high.WriteWeights(file, VERSION_0);
        file.FClose();
        saved = saved && save.Commit();
      }
    }
  } catch (const XCFile&) {
    saved = false;
  }
  if (!saved) Show(Text(CANNOT_SAVE) + path + Text(DISK_FULL), ICON_EXCLAMATION);
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
    Show(Text(CANNOT_ACCESS) + source + Text(WILL_CLOSE), ICON_NONE);
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
    Show(Text(CANNOT_SAVE) + path + Text(DISK_FULL) + Text(WILL_CLOSE), ICON_NONE);
    return false;
  }
  return true;
}

void NetworkDataFiles::Show(const std::string& text, uint32_t icon) {
  Messages.MessageText(DATA_CAPTION, text, static_cast<MessageIcon>(icon));
}
