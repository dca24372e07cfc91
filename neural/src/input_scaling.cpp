#include "input_scaling.h"

#include <algorithm>
#include <vector>

#include "neural/trainer.h"

namespace nx {

InputScaling InputScaling::Fit(const DataSet& data) {
  const unsigned count = data.NumInputs();
  std::vector<double> low(count, 0), high(count, 0);
  for (size_t i = 0; i < data.Size(); ++i) {
    const std::span<const double> inputs = data.Inputs(i);
    for (unsigned k = 0; k < count; ++k) {
      low[k] = i == 0 ? inputs[k] : std::min(low[k], inputs[k]);
      high[k] = i == 0 ? inputs[k] : std::max(high[k], inputs[k]);
    }
  }
  InputScaling scaling{std::vector<double>(count), std::vector<double>(count)};
  for (unsigned k = 0; k < count; ++k) {
    const double range = high[k] - low[k];
    scaling.Scale[k] = range > 0 ? 2 / range : 1;
    scaling.Offset[k] = range > 0 ? -1 - low[k] * scaling.Scale[k] : -low[k];
  }
  return scaling;
}

DataSet InputScaling::Apply(const DataSet& data) const {
  DataSet scaled(data.NumInputs(), data.NumOutputs());
  std::vector<double> inputs(data.NumInputs());
  for (size_t i = 0; i < data.Size(); ++i) {
    const std::span<const double> raw = data.Inputs(i);
    for (size_t k = 0; k < inputs.size(); ++k) inputs[k] = raw[k] * Scale[k] + Offset[k];
    scaled.Add(inputs, data.Targets(i));
  }
  return scaled;
}

}  // namespace nx
