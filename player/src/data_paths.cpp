#include "player/data_paths.h"

#include <unistd.h>

#include <filesystem>

namespace data_paths {

namespace {

std::string installation;
std::string configuration;

std::string WithSlash(const std::string& directory) {
  if (directory.empty() || directory.back() == '/') return directory;
  return directory + '/';
}

}  // namespace

void SetInstallationDirectory(const std::string& directory) { installation = WithSlash(directory); }
void SetConfigurationDirectory(const std::string& directory) { configuration = WithSlash(directory); }
const std::string& InstallationDirectory() { return installation; }
const std::string& ConfigurationDirectory() { return configuration; }

std::string ProgramDirectory() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "";
  return WithSlash(program.parent_path().string());
}

std::string DefaultDataPath() { return installation + DEFAULT_DATA_FILE; }
std::string PlayerDataPath() { return configuration + PLAYER_DATA_FILE; }

}  // namespace data_paths
