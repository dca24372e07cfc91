#pragma once

/// @file message_error.h
/// @brief XCMessage, the exception for faulty network description and pattern files.

#include <string>

#include "neural/exceptions.h"
#include "neural/export.h"

/// A fatal problem in a network specification or pattern file. A class of
/// its own, so that callers can tell a bad text file from a structural or
/// file-system error, and an XCBase like every exception of the library.
class NX_EXPORT XCMessage : public XCBase {
 public:
  /// `message` says what is wrong, mostly with the file or line it is in.
  explicit XCMessage(const std::string& message) : XCBase(message) {}
};
