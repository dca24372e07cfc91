#pragma once

#include <string>

#include "game/text_ids.h"

// A file the program keeps its settings in, found damaged, and what became
// of it: moved aside under its name plus DAMAGED_SUFFIX (replacing an older
// one there), so that a fresh file can take its place while the damaged one
// stays for a look; or, when the move failed, left where it was.
struct DamagedFile {
  static constexpr const char* DAMAGED_SUFFIX = ".damaged";

  std::string Path;
  std::string Aside;
  bool KeptAside = false;
  // The fresh file holds what could still be read of the damaged one.
  bool ReadableKept = false;
};

// Moves what is at `path` (a link itself, never what it points to) aside.
DamagedFile SetDamagedFileAside(const std::string& path);

// How the message about one kind of file is worded.
struct DamageTexts {
  TextId Lead;          // names the kind of file, before its path
  TextId StartsAfresh;  // after the name it was kept as
  TextId ReadableKept;  // the same, when the readable part carries on
  TextId NotSaved;      // after the name it could not be kept as
};

// The message telling the person which file was damaged and what became of it.
std::string DamageMessage(const DamagedFile& damage, const DamageTexts& texts);
