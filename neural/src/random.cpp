#include "neural/random.h"

#include "neural/check.h"

NxRandomGenerator::NxRandomGenerator() : Seed(797), LastValue(0) { InitTable(); }

// A seed in 0..714024 stays there. Seed is public: one set above that range
// is brought into it rather than overflowing, and a negative one keeps its
// sign, which the draw's check reports.
void NxRandomGenerator::Step() { Seed = int32_t((int64_t(Seed) * 1366 + 150889) % MODULUS); }

void NxRandomGenerator::InitTable() {
  for (int32_t i = 0; i < TABLE_LEN; ++i) {
    Step();
    Table[i] = Seed;
  }
  Step();
  LastValue = Seed;
}

int32_t NxRandomGenerator::rand() {
  int32_t index = (TABLE_LEN * LastValue) / MODULUS;
  NX_CHECK(index < TABLE_LEN);
  NX_CHECK(index > -1);
  LastValue = Table[index];
  Step();
  Table[index] = Seed;
  return LastValue;
}
