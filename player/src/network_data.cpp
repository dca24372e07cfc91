#include "player/network_data.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/seed.h"
#include "player/data_paths.h"
#include "player/position_network.h"

namespace network_data {

bool WriteDataFile(const std::string& path, const LevelNets (&levels)[4]) {
  std::string sibling = path + ".new";
  bool written = false;
  try {
    NxFile file(sibling, "wb", true);
    written = true;
    for (const LevelNets& level : levels)
      written = written && level.Low->WriteWeights(file, VERSION_0) && level.High->WriteWeights(file, VERSION_0);
    written = written && file.FFlush() == 0 && fsync(fileno(file.GetStream())) == 0;
    file.FClose();
  } catch (const XCFile&) {
    written = false;
  }
  if (!written || std::rename(sibling.c_str(), path.c_str()) != 0) {
    std::remove(sibling.c_str());
    return false;
  }
  return true;
}

bool WriteFreshDataFile(const std::string& path, unsigned seed) {
  NxFixRandomSeed(seed);
  LevelNets levels[4];
  for (LevelNets& level : levels) {
    level.Low = CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE);
    level.High = CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE);
  }
  bool written = WriteDataFile(path, levels);
  for (LevelNets& level : levels) {
    DeleteNet(level.Low);
    DeleteNet(level.High);
  }
  return written;
}

std::string MakeScratchInstallation(unsigned seed) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / ("quorla-scratch-" + std::to_string(getpid()));
  std::error_code error;
  fs::create_directories(root / "PLAYER", error);
  if (error || !WriteFreshDataFile((root / data_paths::DEFAULT_DATA_FILE).string(), seed)) return "";
  fs::copy_file(root / data_paths::DEFAULT_DATA_FILE, root / "PLAYER" / data_paths::PLAYER_DATA_FILE,
                fs::copy_options::overwrite_existing, error);
  if (error) return "";
  data_paths::SetInstallationDirectory(root.string());
  data_paths::SetConfigurationDirectory((root / "PLAYER").string());
  return root.string();
}

}  // namespace network_data
