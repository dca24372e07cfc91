#pragma once

#include "neural/export.h"

/// The source of initial weights, noise and pattern shuffling. Each network
/// construction reseeds it from the calendar time, unless the seed has been
/// fixed for the whole process, which makes training runs reproducible.
NX_EXPORT void NxFixRandomSeed(unsigned seed);
