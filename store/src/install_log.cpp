#include "store/install_log.h"

#include <cstdio>

bool AppendToInstallLog(const std::string& path, const std::vector<std::string>& lines) {
  FILE* log = std::fopen(path.c_str(), "r+b");
  if (!log) return false;
  bool ok = std::fseek(log, 0, SEEK_END) == 0;
  for (const std::string& line : lines)
    ok = ok && std::fputs(line.c_str(), log) >= 0 && std::fputc('\n', log) != EOF;
  ok = std::fclose(log) == 0 && ok;
  return ok;
}
