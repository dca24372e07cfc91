#pragma once

/// @file exceptions.h
/// @brief The exceptions the library throws, all derived from XCBase, and
/// the helpers that format their messages.

#include <exception>
#include <string>

#include "neural/export.h"
#include "neural/types.h"

/// The library's exceptions. XCBase carries one message; the subclasses differ
/// in type, so callers can catch them separately, and compose their texts.
class NX_EXPORT XCBase : public std::exception {
 public:
  /// An exception carrying `message`, which may span several lines (the
  /// layout of the game's dialog boxes); GetPlainMessage() flattens it.
  explicit XCBase(const std::string& message);
  /// Copies carry the same message.
  ///@{
  XCBase(const XCBase&) = default;
  XCBase& operator=(const XCBase&) = default;
  ///@}
  ~XCBase() override;

  /// The message as given, valid as long as the exception lives.
  const char* what() const noexcept override { return Message.c_str(); }
  /// The message as given, line breaks and tabs included.
  const std::string& GetMessage() const { return Message; }
  /// The message on one line, as PlainMessage() gives it.
  std::string GetPlainMessage() const;
  /// Throws a copy of this exception. The copy is a plain XCBase: a
  /// subclass's type is not kept, so only `catch (const XCBase&)` sees it.
  [[noreturn]] void Raise() const;

 protected:
  std::string Message;  ///< the text what() returns
};

/// A network whose configuration has no layer 0: every network needs its
/// inputs there. The message is also the network's GetErrorText().
class NX_EXPORT XCNoInputLayer : public XCBase {
 public:
  using XCBase::XCBase;  ///< takes the message as XCBase does
};

/// A network without an output layer 1, either declared none or left
/// without one once layer 1 turned out to have no sources. The message is
/// also the network's GetErrorText().
class NX_EXPORT XCNoOutputLayer : public XCBase {
 public:
  using XCBase::XCBase;  ///< takes the message as XCBase does
};

/// A temporal-difference node given a source that is not a temporal-difference
/// node (NxTDNode): the two network kinds' nodes cannot be mixed.
class NX_EXPORT XCNodeSourceCast : public XCBase {
 public:
  using XCBase::XCBase;  ///< takes the message as XCBase does
};

/// Hidden layers that can never be built because their sources feed one
/// another in a cycle or include a layer that does not exist.
/// The message lists the layers and is also the network's GetErrorText().
class NX_EXPORT XCLayerCycle : public XCBase {
 public:
  using XCBase::XCBase;  ///< takes the message as XCBase does
};

/// A layer or a whole network larger than the library builds; the limits
/// bound the memory one configuration can claim. See
/// NxNeuralBase::MAX_LAYER_NODES and NxNeuralBase::MAX_CONNECTIONS.
class NX_EXPORT XCNetworkTooLarge : public XCBase {
 public:
  using XCBase::XCBase;  ///< takes the message as XCBase does
};

/// A receptive-field mapping whose last field would reach beyond the source
/// layer along one axis, thrown while the target layer is built (unless the
/// mapping skips the check).
class NX_EXPORT XCLayerMismap : public XCBase {
 public:
  /// Names the target and source layer numbers and the axis, "X" or "Y".
  XCLayerMismap(unsigned target, unsigned source, const char* dimension);
};

/// A receptive-field mapping with a negative offset along one axis, thrown
/// while the target layer is built (unless the mapping skips the check).
class NX_EXPORT XCLayerOffset : public XCBase {
 public:
  /// Names the target and source layer numbers and the axis, "X" or "Y".
  XCLayerOffset(unsigned target, unsigned source, const char* dimension);
};

/// A node type no node can be built with (MULTIPLICATIVE, or a value
/// outside NODETYPE).
class NX_EXPORT XCNodeSpec : public XCBase {
 public:
  /// Names the type (see NodeTypeName()) and the kind of object refused it.
  XCNodeSpec(NODETYPE type, const std::string& object);
};

/// A logic node (OR, AND, MAJORITY) wired to a source of a smooth type
/// (SIGMOID, LINEAR, PEAKED) or MULTIPLICATIVE: logic nodes average binary
/// values only.
class NX_EXPORT XCNodeSourceType : public XCBase {
 public:
  /// Names the node's type and the source's type.
  XCNodeSourceType(NODETYPE type, NODETYPE source);
};

/// File errors read "Error in file <name>:\n\n<detail>".
/// The subclasses tell the kinds of misuse of an NxFile apart; a file that
/// cannot be opened, read, written or closed is an XCFileBad.
class NX_EXPORT XCFile : public XCBase {
 public:
  /// `detail` says what went wrong, often the system's strerror() text.
  XCFile(const std::string& fileName, const std::string& detail);
};

/// A file that could not be opened (missing, no permission, not a regular
/// file for reading), flushed or closed; the detail is the system's reason.
class NX_EXPORT XCFileBad : public XCFile {
 public:
  using XCFile::XCFile;  ///< takes the file name and detail as XCFile does
};

/// An operation on an NxFile that is not open.
class NX_EXPORT XCFileClosed : public XCFile {
 public:
  /// The detail is fixed; only the file is named.
  explicit XCFileClosed(const std::string& fileName);
};

/// A mode string NxFile does not accept: it must start with 'r', 'w' or
/// 'a', optionally followed by '+' and 't' or 'b' in either order.
class NX_EXPORT XCFileInvalidMode : public XCFile {
 public:
  /// Names the file and the refused mode.
  XCFileInvalidMode(const std::string& fileName, const std::string& mode);
};

/// An NxFile::FSeek() origin other than 0 (start), 1 (current) or 2 (end).
class NX_EXPORT XCFileInvalidSeek : public XCFile {
 public:
  /// The detail is fixed; only the file is named.
  explicit XCFileInvalidSeek(const std::string& fileName);
};

/// A write to an NxFile opened only for reading.
class NX_EXPORT XCFileReadOnly : public XCFile {
 public:
  /// The detail is fixed; only the file is named.
  explicit XCFileReadOnly(const std::string& fileName);
};

/// A read from an NxFile opened only for writing or appending.
class NX_EXPORT XCFileWriteOnly : public XCFile {
 public:
  /// The detail is fixed; only the file is named.
  explicit XCFileWriteOnly(const std::string& fileName);
};

/// A message of the library on one line: every run of blanks that holds a
/// line break or a tab (the layout of the game's dialog boxes) becomes one
/// space.
NX_EXPORT std::string PlainMessage(const std::string& text);

/// The name of a node type as messages print it, e.g. "SIGMOID"; LINEAR and
/// values outside NODETYPE give "". The text is static.
NX_EXPORT const char* NodeTypeName(NODETYPE type);
