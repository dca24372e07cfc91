#include "ui/failure_handlers.h"

#include <exception>
#include <new>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"

int RunWithFailureHandlers(const std::function<int()>& run, const FailureReport& report) {
  try {
    return run();
  } catch (const std::bad_alloc&) {
    report(ResourceString(OUT_OF_MEMORY_CAPTION), ResourceString(OUT_OF_MEMORY));
  } catch (const std::exception& failure) {
    // A failure without a text says nothing; the unknown-error text does.
    const std::string text = failure.what();
    report(ResourceString(TERMINATION_CAPTION), text.empty() ? ResourceString(UNKNOWN_ERROR) : text);
  } catch (...) {
    report(ResourceString(TERMINATION_CAPTION), ResourceString(UNKNOWN_ERROR));
  }
  return FAILURE_EXIT_CODE;
}
