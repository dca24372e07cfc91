#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The persistent object stream shared by the deck and the resume file.
// After the header (byte 0x3A, version word 0x101) every word is 32 bits,
// little-endian. An object is '[' class-name version data ']'; objects are
// numbered from 1 in the order they are written, and a reference is the
// number of an object written earlier (0 for none).

constexpr uint8_t STREAM_HEADER = 0x3A;
constexpr uint32_t STREAM_VERSION = 0x101;
constexpr uint32_t NO_STRING = 0xFFFFFFFF;

class NxObjectWriter {
 public:
  void WriteHeader();
  void WriteByte(uint8_t value) { Bytes.push_back(value); }
  void WriteWord(uint32_t value);
  void WriteInt(int32_t value) { WriteWord(static_cast<uint32_t>(value)); }
  void WriteBool(bool value) { WriteWord(value ? 1 : 0); }
  void WriteDouble(double value);
  void WriteString(const std::optional<std::string>& text);

  void BeginObject(std::string_view className, uint32_t version, const void* object);
  void EndObject() { WriteByte(']'); }
  // The object must have been written already.
  void WriteReference(const void* object);

  const std::vector<uint8_t>& Data() const { return Bytes; }

 private:
  std::vector<uint8_t> Bytes;
  std::unordered_map<const void*, uint32_t> Written;
};

// Reads a stream that may be damaged. The first problem is kept as the
// error text; from then on every read yields zero and Good() is false, so a
// reader can finish its walk and check once.
class NxObjectReader {
 public:
  NxObjectReader(const uint8_t* data, size_t size) : Data(data), Size(size) {}
  explicit NxObjectReader(const std::vector<uint8_t>& bytes) : NxObjectReader(bytes.data(), bytes.size()) {}

  bool Good() const { return Error.empty(); }
  const std::string& ErrorText() const { return Error; }
  void Fail(const std::string& reason);
  bool AtEnd() const { return Pos == Size; }

  void ReadHeader();
  uint8_t ReadByte();
  uint32_t ReadWord();
  int32_t ReadInt() { return static_cast<int32_t>(ReadWord()); }
  bool ReadBool() { return ReadWord() != 0; }
  double ReadDouble();
  std::optional<std::string> ReadString();

  // Checks the frame and the class; the new object gets the next number,
  // to which `tag` is attached for later references.
  bool BeginObject(std::string_view className, uint32_t version, uint32_t tag);
  void EndObject();
  // Changes the tag of the object begun last, once its identity is known.
  void RetagLastObject(uint32_t tag) {
    if (!Tags.empty()) Tags.back() = tag;
  }
  // The tag of an object read earlier; nothing for a null reference, and a
  // failure for a number not yet read.
  std::optional<uint32_t> ReadReference();

 private:
  bool Need(size_t count);

  const uint8_t* Data;
  size_t Size;
  size_t Pos = 0;
  std::string Error;
  std::vector<uint32_t> Tags;
};
