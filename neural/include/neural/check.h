#pragma once

/// @file check.h
/// @brief The checks of internal preconditions, and where their failures are shown.

#include "neural/export.h"

/// Violated internal preconditions stop the program. The report names the
/// condition as written in the source, the source file and the line.
[[noreturn]] NX_EXPORT void NxAssertFailed(const char* condition, const char* file, unsigned line);

/// Shows a failed check before the program stops; an application with a
/// window installs one that puts the report in front of the person, since
/// stderr is invisible there. The program aborts once the handler returns.
/// The default prints the report to stderr.
using NxCheckHandler = void (*)(const char* condition, const char* file, unsigned line);

/// Installs handler (null restores the default) and returns the previous one.
NX_EXPORT NxCheckHandler NxSetCheckHandler(NxCheckHandler handler);

/// Stops the program through NxAssertFailed() when `condition` is false,
/// naming the condition, file and line. Always compiled in.
#define NX_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : NxAssertFailed(#condition, __FILE__, __LINE__))

/// For checks whose report text is not the expression itself (for instance
/// the fixed-capacity "false" of the arrays).
#define NX_CHECK_TEXT(condition, text) \
  ((condition) ? static_cast<void>(0) : NxAssertFailed(text, __FILE__, __LINE__))
