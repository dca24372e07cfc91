#include "neural/warning.h"

#include <cstdio>
#include <utility>

namespace {

void PrintWarning(const char* title, const char* text) { std::fprintf(stderr, "%s: %s\n", title, text); }

NxWarningHandler currentHandler = PrintWarning;

}  // namespace

NxWarningHandler NxSetWarningHandler(NxWarningHandler handler) {
  return std::exchange(currentHandler, handler ? handler : PrintWarning);
}

void NxShowWarning(const char* title, const char* text) { currentHandler(title, text); }
