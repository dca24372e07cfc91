#include "store/damaged_file.h"

#include <cstdio>

#include "game/string_table.h"

DamagedFile SetDamagedFileAside(const std::string& path) {
  DamagedFile damage{path, path + DamagedFile::DAMAGED_SUFFIX};
  // rename moves a link itself and replaces an older file of the same name
  // in one step; it fails (leaving both) when a directory is in the way.
  damage.KeptAside = std::rename(path.c_str(), damage.Aside.c_str()) == 0;
  return damage;
}

std::string DamageMessage(const DamagedFile& damage, const DamageTexts& texts) {
  const TextId ending = !damage.KeptAside     ? texts.NotSaved
                        : damage.ReadableKept ? texts.ReadableKept
                                              : texts.StartsAfresh;
  return ResourceString(texts.Lead) + damage.Path +
         ResourceString(damage.KeptAside ? DAMAGED_KEPT_AS : DAMAGED_NOT_KEPT_AS) + damage.Aside +
         ResourceString(ending);
}
