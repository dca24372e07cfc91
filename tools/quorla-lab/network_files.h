#pragma once

#include <string>

// True when `file` is a regular file of exactly four level blocks: the
// game refuses a longer one.
bool IsNetworkDataFile(const std::string& file);

// Copies `from` over `to` by a safe save (NxSafeSave): `to` is replaced
// only by a complete copy on disk and is never a link or a device. Empty
// when done, otherwise what went wrong.
std::string CopyDurably(const std::string& from, const std::string& to);
