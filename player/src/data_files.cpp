#include <cstdio>
#include <filesystem>
#include <vector>

#include "game/string_table.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/safe_save.h"
#include "player/computer_play.h"
#include "player/data_paths.h"

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

void ComputerPlay::ApplyLevelRates(uint32_t level) {
  bool top = level == 3;
  LowNet->SetupStandardLearning(top ? 0.0625 : 0.3125);
  HighNet->SetupStandardLearning(top ? 0.125 : 0.625);
}

void ComputerPlay::ShowDataMessage(const std::string& text, MessageIcon icon) {
  Table.View().MessageText(DATA_CAPTION, text, icon);
}

bool ComputerPlay::LoadNets(uint32_t level, bool fromDefault) {
  if (!LowNet || !HighNet) return false;
  std::string path = !FixedDataFile.empty() ? FixedDataFile
                     : fromDefault          ? data_paths::DefaultDataPath()
                                            : data_paths::PlayerDataPath();
  std::string ending = Text(fromDefault ? WILL_CLOSE : USING_DEFAULT);
  Level4Missing = false;
  enum class Failure { NONE, REJECTED, SEEK, ACCESS } failure = Failure::NONE;
  try {
    NxFile file(path, "rb", true);
    // A block past the end of the file cannot be reached.
    long start = static_cast<long>(level) * LEVEL_BLOCK_BYTES;
    file.FSeek(0, 2);
    long size = file.FTell();
    if (size < start) throw XCFileInvalidSeek(path);
    file.FSeek(start, 0);
    if (!LowNet->ReadWeights(file) || !HighNet->ReadWeights(file)) failure = Failure::REJECTED;
    file.FClose();
  } catch (const XCFileInvalidSeek&) {
    failure = Failure::SEEK;
  } catch (const XCFile&) {
    failure = Failure::ACCESS;
  }
  switch (failure) {
    case Failure::NONE:
      ApplyLevelRates(level);
      return true;
    case Failure::REJECTED:
      if (level == 3 && !fromDefault) {
        Level4Missing = true;
        return false;
      }
      ShowDataMessage(path + Text(INCORRECT_FORMAT) + ending, ICON_EXCLAMATION);
      return false;
    case Failure::SEEK:
      if (level >= 3 && !fromDefault) {
        Level4Missing = true;
        return false;
      }
      [[fallthrough]];
    case Failure::ACCESS:
      ShowDataMessage(Text(CANNOT_ACCESS) + path + ending, ICON_EXCLAMATION);
      return false;
  }
  return false;
}

// Rewrites the two records of one level; the other levels' blocks keep
// their bytes. A file shorter than the level's block is extended. The new
// file replaces the old one only once it is complete and on disk.
void ComputerPlay::SaveNets(uint32_t level) {
  if (!NetsValid || !LowNet || !HighNet || !FixedDataFile.empty()) return;
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
        saved = saved && LowNet->WriteWeights(file, VERSION_0) && HighNet->WriteWeights(file, VERSION_0);
        file.FClose();
        saved = saved && save.Commit();
      }
    }
  } catch (const XCFile&) {
    saved = false;
  }
  if (!saved) ShowDataMessage(Text(CANNOT_SAVE) + path + Text(DISK_FULL), ICON_EXCLAMATION);
}

// Replaces the player file by the four blocks of the default file.
bool ComputerPlay::CopyDefaultData() {
  if (!FixedDataFile.empty()) return true;
  std::string source = data_paths::DefaultDataPath();
  std::string path = data_paths::PlayerDataPath();
  std::unique_ptr<NxFile> in;
  try {
    in = std::make_unique<NxFile>(source, "rb", true);
  } catch (const XCFile&) {
    ShowDataMessage(Text(CANNOT_ACCESS) + source + Text(WILL_CLOSE), ICON_NONE);
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
    ShowDataMessage(Text(CANNOT_SAVE) + path + Text(DISK_FULL) + Text(WILL_CLOSE), ICON_NONE);
    return false;
  }
  return true;
}
