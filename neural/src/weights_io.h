#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "neural/file.h"

// Little-endian encoding of weights-file records.
namespace nx_weights {

// Collects one record so that it goes out in a single write.
class Record {
 public:
  void PutInt32(int32_t value) { PutUint32(static_cast<uint32_t>(value)); }
  void PutUint32(uint32_t value) { PutBytes(value, 4); }
  void PutDouble(double value) { PutBytes(std::bit_cast<uint64_t>(value), 8); }
  bool WriteTo(NxFile& file) const {
    return Bytes.empty() || file.FWrite(Bytes.data(), 1, Bytes.size()) == Bytes.size();
  }

 private:
  // The low `count` bytes of `bits`, lowest first.
  void PutBytes(uint64_t bits, int count) {
    for (int i = 0; i < count; ++i) Bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
  }

  std::vector<unsigned char> Bytes;
};

inline bool ReadUint32(NxFile& file, uint32_t& value) {
  unsigned char b[4];
  if (file.FRead(b, 1, 4) != 4) return false;
  value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

inline bool ReadInt32(NxFile& file, int32_t& value) {
  uint32_t raw;
  if (!ReadUint32(file, raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

inline bool ReadDouble(NxFile& file, double& value) {
  unsigned char b[8];
  if (file.FRead(b, 1, 8) != 8) return false;
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= uint64_t(b[i]) << (8 * i);
  value = std::bit_cast<double>(bits);
  return true;
}

// A weight the fixed-point format can hold, [-2048, 2048): the writer gives
// the most negative fixed-point value as exactly -2048. Anything else (NaN
// included) marks a garbled file.
inline bool IsRepresentable(double weight) { return weight >= -2048.0 && weight < 2048.0; }

}  // namespace nx_weights
