#pragma once

#include <string>

// The directories the game's data files are resolved against, for the whole
// process: the installation directory (the program's own, holding the
// default networks) and the current player configuration's directory. Both
// are kept with a trailing '/'.
namespace data_paths {

void SetInstallationDirectory(const std::string& directory);
void SetConfigurationDirectory(const std::string& directory);
const std::string& InstallationDirectory();
const std::string& ConfigurationDirectory();

// The directory of the running program ("" when it cannot be found).
std::string ProgramDirectory();

constexpr const char* DEFAULT_DATA_FILE = "QLDEFLT.QLF";
constexpr const char* PLAYER_DATA_FILE = "QLPLAY.QLF";

std::string DefaultDataPath();
std::string PlayerDataPath();

}  // namespace data_paths
