#include "weight_random.h"

#include <ctime>
#include <random>

#include "neural/seed.h"

namespace {

std::minstd_rand& Engine() {
  static std::minstd_rand engine(static_cast<unsigned>(std::time(nullptr)));
  return engine;
}

bool seedFixed = false;

}  // namespace

void NxFixRandomSeed(unsigned seed) {
  Engine().seed(seed);
  seedFixed = true;
}

namespace nx_random {

void ReseedFromClock() {
  if (!seedFixed) Engine().seed(static_cast<unsigned>(std::time(nullptr)));
}

// minstd_rand yields 1..2^31-2; its high bits are the better ones.
int Next15() { return static_cast<int>((Engine()() >> 15) & 0x7FFF); }

int NextSign() { return (Engine()() >> 30) & 1 ? 1 : -1; }

}  // namespace nx_random
