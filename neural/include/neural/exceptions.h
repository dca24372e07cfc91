#pragma once

#include <exception>
#include <string>

#include "neural/export.h"
#include "neural/types.h"

/// The library's exceptions. XCBase carries one message; the subclasses differ
/// in type, so callers can catch them separately, and compose their texts.
class NX_EXPORT XCBase : public std::exception {
 public:
  explicit XCBase(const std::string& message);
  XCBase(const XCBase&) = default;
  XCBase& operator=(const XCBase&) = default;
  ~XCBase() override;

  const char* what() const noexcept override { return Message.c_str(); }
  const std::string& GetMessage() const { return Message; }
  /// The message on one line, as PlainMessage() gives it.
  std::string GetPlainMessage() const;
  [[noreturn]] void Raise() const;

 protected:
  std::string Message;
};

class NX_EXPORT XCNoInputLayer : public XCBase {
 public:
  using XCBase::XCBase;
};

class NX_EXPORT XCNoOutputLayer : public XCBase {
 public:
  using XCBase::XCBase;
};

class NX_EXPORT XCNodeSourceCast : public XCBase {
 public:
  using XCBase::XCBase;
};

/// Hidden layers that can never be built because their sources feed one
/// another in a cycle or include a layer that does not exist.
class NX_EXPORT XCLayerCycle : public XCBase {
 public:
  using XCBase::XCBase;
};

/// A layer or a whole network larger than the library builds; the limits
/// bound the memory one configuration can claim.
class NX_EXPORT XCNetworkTooLarge : public XCBase {
 public:
  using XCBase::XCBase;
};

class NX_EXPORT XCLayerMismap : public XCBase {
 public:
  XCLayerMismap(unsigned target, unsigned source, const char* dimension);
};

class NX_EXPORT XCLayerOffset : public XCBase {
 public:
  XCLayerOffset(unsigned target, unsigned source, const char* dimension);
};

class NX_EXPORT XCNodeSpec : public XCBase {
 public:
  XCNodeSpec(NODETYPE type, const std::string& object);
};

class NX_EXPORT XCNodeSourceType : public XCBase {
 public:
  XCNodeSourceType(NODETYPE type, NODETYPE source);
};

/// File errors read "Error in file <name>:\n\n<detail>".
class NX_EXPORT XCFile : public XCBase {
 public:
  XCFile(const std::string& fileName, const std::string& detail);
};

class NX_EXPORT XCFileBad : public XCFile {
 public:
  using XCFile::XCFile;
};

class NX_EXPORT XCFileClosed : public XCFile {
 public:
  explicit XCFileClosed(const std::string& fileName);
};

class NX_EXPORT XCFileInvalidMode : public XCFile {
 public:
  XCFileInvalidMode(const std::string& fileName, const std::string& mode);
};

class NX_EXPORT XCFileInvalidSeek : public XCFile {
 public:
  explicit XCFileInvalidSeek(const std::string& fileName);
};

class NX_EXPORT XCFileReadOnly : public XCFile {
 public:
  explicit XCFileReadOnly(const std::string& fileName);
};

class NX_EXPORT XCFileWriteOnly : public XCFile {
 public:
  explicit XCFileWriteOnly(const std::string& fileName);
};

/// A message of the library on one line: every run of blanks that holds a
/// line break or a tab (the layout of the game's dialog boxes) becomes one
/// space.
NX_EXPORT std::string PlainMessage(const std::string& text);

/// The name of a node type as messages print it; LINEAR has none.
NX_EXPORT const char* NodeTypeName(NODETYPE type);
