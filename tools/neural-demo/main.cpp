#include <cstdio>

#include "neural/random.h"

int main() {
  NxRandomGenerator gen;
  for (int i = 0; i < 5; ++i) std::printf("%d\n", gen.rand());
  return 0;
}
