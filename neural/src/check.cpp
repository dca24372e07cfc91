#include "neural/check.h"

#include <cstdio>
#include <cstdlib>

void NxAssertFailed(const char* condition, const char* file, unsigned line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", condition, file, line);
  std::fflush(stderr);
  std::abort();
}
