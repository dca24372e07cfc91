// How a trained network does on a data set.
#include <algorithm>

#include "neural/trainer.h"

namespace nx {

unsigned ArgMax(std::span<const double> values) {
  return static_cast<unsigned>(std::max_element(values.begin(), values.end()) - values.begin());
}

bool IsOneOfN(const DataSet& data) {
  if (data.NumOutputs() < 2 || data.Empty()) return false;
  for (size_t i = 0; i < data.Size(); ++i)
    if (std::ranges::count_if(data.Targets(i), [](double target) { return target > 0.5; }) != 1) return false;
  return true;
}

Evaluation Evaluate(NxNeuralNet& net, const DataSet& data) {
  if (data.NumInputs() != net.GetNumInputs()) throw XCSizeMismatch("inputs", net.GetNumInputs(), data.NumInputs());
  if (data.NumOutputs() != net.GetNumOutputs())
    throw XCSizeMismatch("targets", net.GetNumOutputs(), data.NumOutputs());
  Evaluation result;
  result.OneOfN = IsOneOfN(data);
  result.Classes = result.OneOfN ? data.NumOutputs() : 0;
  result.Confusion.assign(size_t(result.Classes) * result.Classes, 0);
  if (data.Empty()) return result;
  double squares = 0;
  size_t right = 0;
  for (size_t i = 0; i < data.Size(); ++i) {
    const std::span<const double> outputs = Propagate(net, data.Inputs(i));
    const std::span<const double> targets = data.Targets(i);
    for (size_t k = 0; k < outputs.size(); ++k) squares += (outputs[k] - targets[k]) * (outputs[k] - targets[k]);
    if (!result.OneOfN) continue;
    const unsigned expected = ArgMax(targets);
    const unsigned predicted = ArgMax(outputs);
    right += expected == predicted;
    ++result.Confusion[size_t(expected) * result.Classes + predicted];
  }
  result.Mse = squares / (double(data.Size()) * data.NumOutputs());
  result.Accuracy = result.OneOfN ? double(right) / data.Size() : 0;
  return result;
}

}  // namespace nx
