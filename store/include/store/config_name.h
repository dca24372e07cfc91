#pragma once

#include <string>
#include <string_view>

// A configuration name becomes a directory name, and removing a
// configuration deletes that directory's files. Names are UTF-8 text of up
// to 8 characters; what could reach outside the installation or hide the
// directory is refused: "/" and "\", "." and "..", a leading dot or space,
// and control characters.
constexpr size_t MAX_CONFIG_NAME = 8;

std::string TrimName(std::string_view name);
bool IsValidConfigName(std::string_view name);
// "default" in any case is the built-in configuration's name.
bool IsReservedConfigName(std::string_view name);
// The directory of a configuration is its name in upper case (ASCII and
// the Latin-1 letters; other letters keep their case). Names that differ
// only in case share it.
std::string ConfigDirectoryName(std::string_view name);
