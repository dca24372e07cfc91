#pragma once

#include <stdexcept>
#include <string>

#include "neural/export.h"

// A fatal problem in a network specification or pattern file. It is a plain
// message, apart from the XCBase family, so that callers can tell a bad
// text file from a structural or file-system error.
class NX_EXPORT XCMessage : public std::runtime_error {
 public:
  explicit XCMessage(const std::string& message) : std::runtime_error(message) {}
};
