#pragma once

/// The library's version. The shared object's SOVERSION is the major number:
/// it changes whenever a client built against an older release could break.
#define NX_VERSION_MAJOR 1
#define NX_VERSION_MINOR 0
#define NX_VERSION_PATCH 0
