#pragma once

#include <cstdint>

#include "neural/export.h"

/// Linear congruential generator whose outputs are shuffled through a table
/// of 97 entries. Every instance is independent and deterministic for a seed.
class NX_EXPORT NxRandomGenerator {
 public:
  static constexpr int32_t TABLE_LEN = 97;
  static constexpr int32_t MODULUS = 714025;

  NxRandomGenerator();

  /// Refills the table from the current Seed; call after assigning Seed.
  void InitTable();
  /// Next value, 0..714024.
  int32_t rand();

  int32_t Seed;

 private:
  void Step();

  int32_t LastValue;
  int32_t Table[TABLE_LEN];
};
