#pragma once

#include <cstddef>

#include "neural/trainer.h"

// The accuracy of a one-of-N evaluation, a line per class with its share
// classified right and the class it is most often taken for, and the
// confusion counts as a table when there are few classes.
void PrintConfusionSummary(const nx::Evaluation& evaluation, size_t patterns);
