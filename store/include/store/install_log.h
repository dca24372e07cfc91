#pragma once

#include <string>
#include <vector>

constexpr const char* INSTALL_LOG = "INSTAL32.LOG";

// Appends lines to the installation log so that an uninstaller can remove
// what the game created. The log belongs to the installer: a missing log
// is not created, and then nothing is written; nor is anything written
// through a link or into anything but a regular file at its name.
bool AppendToInstallLog(const std::string& path, const std::vector<std::string>& lines);
