#pragma once

/// @file warning.h
/// @brief Where the library's warnings go.

#include "neural/export.h"

/// Warnings of the library ("Neural Network Warning" and the like) go through
/// a handler that the application installs. The default prints the title and
/// the text to stderr and returns at once.
using NxWarningHandler = void (*)(const char* title, const char* text);

/// Installs handler (null restores the default) and returns the previous one.
NX_EXPORT NxWarningHandler NxSetWarningHandler(NxWarningHandler handler);
/// Passes a warning to the installed handler; the library's own warnings
/// come through here.
NX_EXPORT void NxShowWarning(const char* title, const char* text);
