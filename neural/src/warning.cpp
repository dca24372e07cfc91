#include "neural/warning.h"

#include <cstdio>

namespace {

void PrintWarning(const char* title, const char* text) { std::fprintf(stderr, "%s: %s\n", title, text); }

NxWarningHandler currentHandler = PrintWarning;

}  // namespace

NxWarningHandler NxSetWarningHandler(NxWarningHandler handler) {
  NxWarningHandler previous = currentHandler;
  currentHandler = handler ? handler : PrintWarning;
  return previous;
}

void NxShowWarning(const char* title, const char* text) { currentHandler(title, text); }
