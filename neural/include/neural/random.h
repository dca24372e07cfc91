#pragma once

/// @file random.h
/// @brief NxRandomGenerator, a small deterministic random-number generator.

#include <cstdint>

#include "neural/export.h"

/// Linear congruential generator whose outputs are shuffled through a table
/// of 97 entries. Every instance is independent and deterministic for a seed.
class NX_EXPORT NxRandomGenerator {
 public:
  static constexpr int32_t TABLE_LEN = 97;  ///< entries of the shuffling table
  static constexpr int32_t MODULUS = 714025;  ///< the generator's modulus; values lie below it

  /// A generator seeded with 797, its table filled.
  NxRandomGenerator();

  /// Refills the table from the current Seed; call after assigning Seed.
  void InitTable();
  /// Next value, 0..714024.
  int32_t rand();

  int32_t Seed;  ///< the generator's state; keep it within 0..714024 and call InitTable() after setting it

 private:
  void Step();

  int32_t LastValue;
  int32_t Table[TABLE_LEN];
};
