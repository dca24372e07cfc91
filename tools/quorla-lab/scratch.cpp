#include "scratch.h"

#include "player/data_paths.h"
#include "player/network_data.h"
#include "player/position_network.h"

std::string MakeScratchInstallationFrom(const std::string& file, unsigned seed) {
  namespace fs = std::filesystem;
  std::string root = network_data::MakeScratchInstallation(seed);
  if (root.empty() || file.empty()) return root;
  std::error_code error;
  fs::copy_file(file, fs::path(root) / data_paths::DEFAULT_DATA_FILE, fs::copy_options::overwrite_existing, error);
  if (!error)
    fs::copy_file(file, fs::path(root) / "PLAYER" / data_paths::PLAYER_DATA_FILE, fs::copy_options::overwrite_existing,
                  error);
  if (!error) return root;
  fs::remove_all(root, error);
  return "";
}

bool IsNetworkDataFile(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  auto size = std::filesystem::file_size(file, error);
  return !error && size >= NUM_LEVELS * LEVEL_BLOCK_BYTES;
}
