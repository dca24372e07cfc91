#pragma once

#include <vector>

namespace nx {

class DataSet;

// Maps every input linearly onto -1..1 over the range it takes in a data
// set: x * Scale[i] + Offset[i]. An input that never changes maps to 0.
struct InputScaling {
  std::vector<double> Scale;
  std::vector<double> Offset;

  static InputScaling Fit(const DataSet& data);
  DataSet Apply(const DataSet& data) const;
};

}  // namespace nx
