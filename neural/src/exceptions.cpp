#include "neural/exceptions.h"

XCBase::XCBase(const std::string& message) : Message(message) {}

XCBase::~XCBase() = default;

void XCBase::Raise() const { throw XCBase(*this); }

const char* NodeTypeName(NODETYPE type) {
  static const char* const names[] = {"SIGMOID", "", "PEAKED", "BINARY", "OR", "AND", "MAJORITY", "MULTIPLICATIVE"};
  if (type < SIGMOID || type > MULTIPLICATIVE) return "";
  return names[type];
}

XCLayerMismap::XCLayerMismap(unsigned target, unsigned source, const char* dimension)
    : XCBase("Incompatible mapping of source layer " + std::to_string(source) + " to target layer " +
             std::to_string(target) + " in dimension" + dimension) {}

XCLayerOffset::XCLayerOffset(unsigned target, unsigned source, const char* dimension)
    : XCBase("Invalid pattern offset for source layer " + std::to_string(source) + " and target layer " +
             std::to_string(target) + " in dimension" + dimension) {}

XCNodeSpec::XCNodeSpec(NODETYPE type, const std::string& object)
    : XCBase(std::string("Invalid ") + NodeTypeName(type) + " node type specification \tfor " + object + " object") {}

XCNodeSourceType::XCNodeSourceType(NODETYPE type, NODETYPE source)
    : XCBase(std::string("Nodes of type ") + NodeTypeName(type) + " cannot have source \tnodes of type " +
             NodeTypeName(source)) {}

XCFile::XCFile(const std::string& fileName, const std::string& detail)
    : XCBase("Error in file " + fileName + ":\n\n" + detail) {}

XCFileClosed::XCFileClosed(const std::string& fileName) : XCFile(fileName, "Attempt to access closed file") {}

XCFileInvalidMode::XCFileInvalidMode(const std::string& fileName, const std::string& mode)
    : XCFile(fileName, "Invalid access mode string " + mode) {}

XCFileInvalidSeek::XCFileInvalidSeek(const std::string& fileName)
    : XCFile(fileName, "Illegal file seek specification") {}

XCFileReadOnly::XCFileReadOnly(const std::string& fileName)
    : XCFile(fileName, "Attempt to write to file opened only for reading") {}

XCFileWriteOnly::XCFileWriteOnly(const std::string& fileName)
    : XCFile(fileName, "Attempt to read from file opened only for writing") {}

std::string PlainMessage(const std::string& text) {
  const char* const blanks = " \t\r\n";
  std::string plain;
  // Blanks before the first word and after the last one go.
  for (size_t word = text.find_first_not_of(blanks); word != std::string::npos;) {
    const size_t gap = text.find_first_of(blanks, word);
    plain.append(text, word, gap - word);
    word = text.find_first_not_of(blanks, gap);
    if (word == std::string::npos) break;
    const std::string run = text.substr(gap, word - gap);
    plain += run.find_first_of("\t\r\n") == std::string::npos ? run : " ";
  }
  return plain;
}

std::string XCBase::GetPlainMessage() const { return PlainMessage(Message); }
