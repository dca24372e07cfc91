#pragma once

/// @file version.h
/// @brief The library's version numbers.
///
/// The library's version. The shared object's SOVERSION is the major number:
/// it changes whenever a client built against an older release could break.

#define NX_VERSION_MAJOR 1  ///< the major number, also the SOVERSION
#define NX_VERSION_MINOR 0  ///< the minor number, within one major version
#define NX_VERSION_PATCH 0  ///< the patch number, within one minor version
