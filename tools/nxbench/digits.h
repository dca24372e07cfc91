#pragma once

#include <optional>
#include <string>

#include "neural/trainer.h"

// scikit-learn's 8x8 digits as Debian's python3-sklearn ships them: one
// image a line, 64 values of 0..16 and the digit, 1,797 lines.
namespace digits {

inline constexpr const char* DEFAULT_FILE = "/usr/lib/python3/dist-packages/sklearn/datasets/data/digits.csv.gz";
inline constexpr size_t TRAINING_ROWS = 1400;

// The images with one-of-ten targets; nothing when the file is not there.
// Throws std::runtime_error for a file that is there but not digits.
std::optional<nx::DataSet> Load(const std::string& fileName);

}  // namespace digits
