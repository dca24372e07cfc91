#pragma once

/// @file seed.h
/// @brief Fixing the library's random source for reproducible runs.

#include "neural/export.h"

/// The source of initial weights, noise and pattern shuffling. Each network
/// construction reseeds it from the calendar time, unless the seed has been
/// fixed for the whole process, which makes training runs reproducible.
/// Call it before the networks are made.
NX_EXPORT void NxFixRandomSeed(unsigned seed);
