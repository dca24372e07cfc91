#include "scratch/scratch_installation.h"

#include <filesystem>

#include "player/data_paths.h"
#include "player/network_data.h"

ScratchInstallation::ScratchInstallation(const std::string& kind, const std::string& networks, unsigned seed)
    : ScratchDirectory(kind) {
  if (Failed()) return;
  NoteProblem(Fill(networks, seed));
  if (Failed()) return;
  data_paths::SetInstallationDirectory(Directory());
  data_paths::SetConfigurationDirectory(PlayerDirectory());
}

std::string ScratchInstallation::Fill(const std::string& networks, unsigned seed) {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string defaults = Path(data_paths::DEFAULT_DATA_FILE);
  if (!fs::create_directories(Path(PLAYER_FOLDER), error)) return "cannot make " + Path(PLAYER_FOLDER);
  if (networks.empty()) {
    if (!network_data::WriteFreshDataFile(defaults, seed)) return "cannot write " + defaults;
  } else if (!fs::copy_file(networks, defaults, fs::copy_options::overwrite_existing, error)) {
    return "cannot copy " + networks + ": " + error.message();
  }
  const std::string player = PlayerPath(data_paths::PLAYER_DATA_FILE);
  if (!fs::copy_file(defaults, player, fs::copy_options::overwrite_existing, error))
    return "cannot copy " + defaults + " to " + player + ": " + error.message();
  return "";
}
