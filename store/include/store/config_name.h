#pragma once

#include <string>
#include <string_view>

// A configuration name becomes a directory name, and removing a
// configuration deletes that directory's files, so only short plain names
// are accepted: up to 8 letters, digits, '-' and '_'.
constexpr size_t MAX_CONFIG_NAME = 8;

std::string TrimName(std::string_view name);
bool IsValidConfigName(std::string_view name);
// "default" in any case is the built-in configuration's name.
bool IsReservedConfigName(std::string_view name);
// The directory of a configuration is its name in upper case.
std::string ConfigDirectoryName(std::string_view name);
