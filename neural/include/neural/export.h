#pragma once

/// @file export.h
/// @brief NX_EXPORT, the mark of what the shared library exports.

/// The library is built with hidden visibility; everything a client may call
/// carries NX_EXPORT.
#define NX_EXPORT __attribute__((visibility("default")))
