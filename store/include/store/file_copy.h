#pragma once

#include <string>

// Copies a data file. Without `overwrite` an existing destination counts as
// copied. The copy replaces the destination only once it is complete.
bool CopyDataFile(const std::string& from, const std::string& to, bool overwrite);
