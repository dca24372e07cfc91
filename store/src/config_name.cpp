#include "store/config_name.h"

#include <algorithm>
#include <cctype>

std::string TrimName(std::string_view name) {
  size_t first = 0, last = name.size();
  while (first < last && std::isspace(static_cast<unsigned char>(name[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(name[last - 1]))) --last;
  return std::string(name.substr(first, last - first));
}

bool IsValidConfigName(std::string_view name) {
  if (name.empty() || name.size() > MAX_CONFIG_NAME) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
}

std::string ConfigDirectoryName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool IsReservedConfigName(std::string_view name) { return ConfigDirectoryName(name) == "DEFAULT"; }
