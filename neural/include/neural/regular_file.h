#pragma once

#include <cstdio>
#include <string>

#include "neural/export.h"

// Opens an existing file for reading (update: for reading and writing) only
// when it is a regular file. A FIFO would keep the open waiting for a
// writer and a device never ends, so the file is opened without waiting,
// its kind is checked on the open descriptor (no race with a rename), and
// only then does the stream wait on reads as usual. Null when the file
// cannot be opened or is no regular file; problem, when given, then says
// why in the system's words.
NX_EXPORT std::FILE* NxOpenRegularFile(const std::string& path, bool update, std::string* problem = nullptr);
