#include "neural/check.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

void PrintFailure(const char* condition, const char* file, unsigned line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", condition, file, line);
  std::fflush(stderr);
}

std::atomic<NxCheckHandler> currentHandler{PrintFailure};
// A handler that itself fails a check (drawing a message box from a broken
// state, say) must not recurse; the second failure goes to stderr.
std::atomic<bool> reporting{false};

}  // namespace

NxCheckHandler NxSetCheckHandler(NxCheckHandler handler) {
  return currentHandler.exchange(handler ? handler : PrintFailure);
}

void NxAssertFailed(const char* condition, const char* file, unsigned line) {
  NxCheckHandler handler = reporting.exchange(true) ? PrintFailure : currentHandler.load();
  handler(condition, file, line);
  std::abort();
}
