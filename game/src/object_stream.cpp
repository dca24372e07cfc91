#include "game/object_stream.h"

#include <cstring>

#include "neural/check.h"

namespace {
constexpr uint8_t OBJECT_BEGIN = '[';
constexpr uint8_t OBJECT_END = ']';
// Class names are short; anything longer is damage, not a name.
constexpr uint32_t MAX_NAME_LENGTH = 256;
}  // namespace

void NxObjectWriter::WriteHeader() {
  WriteByte(STREAM_HEADER);
  WriteWord(STREAM_VERSION);
}

void NxObjectWriter::WriteWord(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) Bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void NxObjectWriter::WriteDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteWord(static_cast<uint32_t>(bits));
  WriteWord(static_cast<uint32_t>(bits >> 32));
}

void NxObjectWriter::WriteString(const std::optional<std::string>& text) {
  if (!text) {
    WriteWord(NO_STRING);
    return;
  }
  WriteWord(static_cast<uint32_t>(text->size()));
  Bytes.insert(Bytes.end(), text->begin(), text->end());
}

void NxObjectWriter::BeginObject(std::string_view className, uint32_t version, const void* object) {
  WriteByte(OBJECT_BEGIN);
  WriteString(std::string(className));
  WriteWord(version);
  uint32_t number = static_cast<uint32_t>(Written.size()) + 1;
  Written[object] = number;
}

void NxObjectWriter::WriteReference(const void* object) {
  if (!object) {
    WriteWord(0);
    return;
  }
  auto found = Written.find(object);
  NX_CHECK(found != Written.end());
  WriteWord(found->second);
}

void NxObjectReader::Fail(const std::string& reason) {
  if (Error.empty()) Error = reason;
}

bool NxObjectReader::Need(size_t count) {
  if (!Good()) return false;
  if (Size - Pos < count) {
    Fail("stream ends early");
    return false;
  }
  return true;
}

void NxObjectReader::ReadHeader() {
  if (ReadByte() != STREAM_HEADER) Fail("missing stream header");
  if (ReadWord() != STREAM_VERSION) Fail("unknown stream version");
}

uint8_t NxObjectReader::ReadByte() {
  if (!Need(1)) return 0;
  return Data[Pos++];
}

uint32_t NxObjectReader::ReadWord() {
  if (!Need(4)) return 0;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | Data[Pos + i];
  Pos += 4;
  return value;
}

double NxObjectReader::ReadDouble() {
  uint64_t low = ReadWord();
  uint64_t high = ReadWord();
  uint64_t bits = low | (high << 32);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::optional<std::string> NxObjectReader::ReadString() {
  uint32_t length = ReadWord();
  if (!Good() || length == NO_STRING) return std::nullopt;
  if (!Need(length)) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(Data + Pos), length);
  Pos += length;
  return text;
}

bool NxObjectReader::BeginObject(std::string_view className, uint32_t version, uint32_t tag) {
  if (ReadByte() != OBJECT_BEGIN) {
    Fail("object expected");
    return false;
  }
  uint32_t length = ReadWord();
  if (length == NO_STRING || length > MAX_NAME_LENGTH || !Need(length)) {
    Fail("bad class name");
    return false;
  }
  std::string_view name(reinterpret_cast<const char*>(Data + Pos), length);
  Pos += length;
  if (name != className) {
    Fail("unexpected class " + std::string(name) + ", expected " + std::string(className));
    return false;
  }
  if (ReadWord() != version) {
    Fail("unsupported version of class " + std::string(className));
    return false;
  }
  Tags.push_back(tag);
  return Good();
}

void NxObjectReader::EndObject() {
  if (ReadByte() != OBJECT_END) Fail("object not closed");
}

std::optional<uint32_t> NxObjectReader::ReadReference() {
  uint32_t number = ReadWord();
  if (!Good() || number == 0) return std::nullopt;
  if (number > Tags.size()) {
    Fail("reference to an object not yet read");
    return std::nullopt;
  }
  return Tags[number - 1];
}
