#pragma once

#include <string>

// Where the program reads its installed files and keeps the player's files.
struct InstallPlaces {
  std::string Installation;   // the program's directory, with a trailing '/'
  std::string Configuration;  // the Default configuration's directory, with a trailing '/'
  // The installation holds a person's settings but cannot be written, so
  // their files stay there while new ones go to the user's data directory.
  bool PlayerFilesLeftBehind = false;
};

// An installed tree (cmake --install, the package) carries this file: its
// users keep their files apart even when they could write into it.
constexpr const char* SHARED_INSTALLATION_MARK = "SHARED-INSTALLATION";

// Whether the player's files must live outside the installation: it is
// marked as shared, or it is read-only (for root: no write permission bit
// set, or a read-only file system).
bool IsSharedInstallation(const std::string& programDirectory);

// The installation directory keeps the player's files when it is writable
// (the build directory, a portable copy); otherwise they live in the user's
// data directory ($XDG_DATA_HOME/quorla, by default ~/.local/share/quorla),
// created on first use.
InstallPlaces FindInstallPlaces(const std::string& programDirectory);

// A configuration played for the first time starts from the default
// networks: its learned-networks file is a copy of the installed defaults.
void SeedPlayerFiles(const InstallPlaces& places);

// Whether a window can be opened: a display, or a platform chosen explicitly.
bool HasDisplay();
