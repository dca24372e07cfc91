#include "training/network_fit.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "neural/layer.h"
#include "neural/node.h"

namespace {

constexpr unsigned INPUT_LAYER = 0, OUTPUT_LAYER = 1;
constexpr double POINT = 0.004;  // value of one point of deadwood

// A double-precision copy of a network of sigmoid nodes over its input
// layer, in an order where every node comes after its sources.
class Mirror {
 public:
  bool Build(const NxNeuralBase& net) {
    NxBaseLayer* inputs = net.GetLayer(INPUT_LAYER);
    NxBaseLayer* output = net.GetLayer(OUTPUT_LAYER);
    if (!inputs || inputs->GetNumNodes() != TrialPositions::CELLS || !output || output->GetNumNodes() != 1)
      return false;
    for (unsigned i = 0; i < inputs->GetNumNodes(); ++i) Index[inputs->GetNodeAt(i)] = i;
    return Place(output->GetNodeAt(0), 0);
  }

  size_t Slots() const { return TrialPositions::CELLS + Units.size(); }
  std::vector<double>& Parameters() { return Weights; }

  // Fills `act` with every node's output; returns the network's.
  double Forward(const float* cells, std::vector<double>& act) const {
    for (size_t i = 0; i < TrialPositions::CELLS; ++i) act[i] = cells[i];
    for (const Unit& unit : Units) {
      const double* w = &Weights[unit.Offset];
      double z = w[unit.Sources.size()];
      for (size_t k = 0; k < unit.Sources.size(); ++k) z += w[k] * act[unit.Sources[k]];
      act[unit.Slot] = 1.0 / (1.0 + std::exp(-z));
    }
    return act[Units.back().Slot];
  }

  // Adds to `gradient` the gradient of outputError x output.
  void Backward(const std::vector<double>& act, double outputError, std::vector<double>& delta,
                std::vector<double>& gradient) const {
    std::fill(delta.begin(), delta.end(), 0.0);
    delta[Units.back().Slot] = outputError;
    for (size_t u = Units.size(); u-- > 0;) {
      const Unit& unit = Units[u];
      double a = act[unit.Slot];
      double d = delta[unit.Slot] * a * (1 - a);
      if (d == 0) continue;
      const double* w = &Weights[unit.Offset];
      double* g = &gradient[unit.Offset];
      for (size_t k = 0; k < unit.Sources.size(); ++k) {
        g[k] += d * act[unit.Sources[k]];
        delta[unit.Sources[k]] += d * w[k];
      }
      g[unit.Sources.size()] += d;
    }
  }

  void Store() const {
    for (const Unit& unit : Units)
      for (size_t k = 0; k <= unit.Sources.size(); ++k) unit.Node->SetWeight(k, ToFixed(Weights[unit.Offset + k]));
  }

 private:
  struct Unit {
    NxNode* Node;
    std::vector<uint32_t> Sources;  // slots
    size_t Offset;                  // of its weights, the bias last
    uint32_t Slot;
  };

  // Places the sources of `node` first; false for anything but weighted
  // sigmoid nodes or a network deeper than any sensible one.
  bool Place(NxNode* node, unsigned depth) {
    if (Index.count(node)) return true;
    if (depth > NxNeuralBase::MAX_LAYERS || node->GetNodeType() != SIGMOID ||
        node->GetNumWeights() != node->GetNumSources() + 1)
      return false;
    for (unsigned k = 0; k < node->GetNumSources(); ++k)
      if (!Place(node->GetSource(k), depth + 1)) return false;
    Unit unit{node, {}, Weights.size(), static_cast<uint32_t>(TrialPositions::CELLS + Units.size())};
    for (unsigned k = 0; k < node->GetNumSources(); ++k) unit.Sources.push_back(Index.at(node->GetSource(k)));
    for (unsigned k = 0; k < node->GetNumWeights(); ++k) Weights.push_back(ToDouble(node->GetWeight(k)));
    Index[node] = unit.Slot;
    Units.push_back(std::move(unit));
    return true;
  }

  std::unordered_map<const NxNode*, uint32_t> Index;
  std::vector<Unit> Units;
  std::vector<double> Weights;
};

// Deterministic on every platform, unlike the standard distributions.
class SplitMix {
 public:
  explicit SplitMix(uint64_t seed) : State(seed) {}
  uint64_t Next() {
    uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }

 private:
  uint64_t State;
};

class Fit {
 public:
  Fit(Mirror& mirror, const TrialPositions& trials, const FitOptions& options)
      : Net(mirror), Trials(trials), Options(options), Act(MaxDecisionSize(), std::vector<double>(mirror.Slots())),
        Delta(mirror.Slots()), Errors(MaxDecisionSize()) {}

  void Measure(double& spread, double& agreement) {
    double sum = 0, agreeing = 0;
    for (size_t d = 0; d < Trials.Decisions(); ++d) {
      double mean = ComputeErrors(d);
      size_t first = Trials.First(d), end = Trials.End(d);
      size_t rated = first, best = first;
      for (size_t p = first; p < end; ++p) {
        double e = Errors[p - first] - mean;
        sum += e * e;
        if (Errors[p - first] + Trials.Target(p) > Errors[rated - first] + Trials.Target(rated)) rated = p;
        if (Trials.Target(p) > Trials.Target(best)) best = p;
      }
      agreeing += Trials.Target(rated) >= Trials.Target(best) ? 1 : 0;
    }
    spread = Trials.Positions() ? std::sqrt(sum / Trials.Positions()) / POINT : 0;
    agreement = Trials.Decisions() ? agreeing / Trials.Decisions() : 0;
  }

  void Epoch(uint64_t& step, SplitMix& random) {
    std::vector<size_t> order(Trials.Decisions());
    for (size_t d = 0; d < order.size(); ++d) order[d] = d;
    for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.Below(i)]);
    const size_t weights = Net.Parameters().size();
    if (Moment.size() != weights) {
      Gradient.assign(weights, 0.0);
      Moment.assign(weights, 0.0);
      Square.assign(weights, 0.0);
    }
    const size_t batch = std::max(1u, Options.DecisionsPerBatch);
    for (size_t start = 0; start < order.size(); start += batch) {
      std::fill(Gradient.begin(), Gradient.end(), 0.0);
      size_t positions = 0;
      for (size_t i = start; i < std::min(order.size(), start + batch); ++i) positions += Accumulate(order[i]);
      Update(++step, positions);
    }
  }

 private:
  size_t MaxDecisionSize() const {
    size_t most = 1;
    for (size_t d = 0; d < Trials.Decisions(); ++d) most = std::max(most, Trials.End(d) - Trials.First(d));
    return most;
  }

  // Errors of the positions of decision d (in Errors); returns their mean.
  double ComputeErrors(size_t d) {
    size_t first = Trials.First(d), end = Trials.End(d);
    double mean = 0;
    for (size_t p = first; p < end; ++p) {
      Errors[p - first] = Net.Forward(Trials.Cells(p), Act[p - first]) - Trials.Target(p);
      mean += Errors[p - first];
    }
    return end > first ? mean / (end - first) : 0;
  }

  size_t Accumulate(size_t d) {
    double mean = ComputeErrors(d);
    size_t count = Trials.End(d) - Trials.First(d);
    for (size_t i = 0; i < count; ++i)
      Net.Backward(Act[i], Errors[i] - mean + Options.LevelWeight * mean, Delta, Gradient);
    return count;
  }

  void Update(uint64_t step, size_t positions) {
    const double b1 = 0.9, b2 = 0.999, epsilon = 1e-8;
    const double c1 = 1 - std::pow(b1, static_cast<double>(step)), c2 = 1 - std::pow(b2, static_cast<double>(step));
    std::vector<double>& w = Net.Parameters();
    for (size_t k = 0; k < w.size(); ++k) {
      double g = Gradient[k] / static_cast<double>(std::max<size_t>(positions, 1));
      Moment[k] = b1 * Moment[k] + (1 - b1) * g;
      Square[k] = b2 * Square[k] + (1 - b2) * g * g;
      w[k] -= Options.StepSize * (Moment[k] / c1) / (std::sqrt(Square[k] / c2) + epsilon);
      // Far inside what the fixed-point weights and sums can hold.
      w[k] = std::clamp(w[k], -MAX_WEIGHT, MAX_WEIGHT);
    }
  }

  static constexpr double MAX_WEIGHT = 24.0;

  Mirror& Net;
  const TrialPositions& Trials;
  const FitOptions& Options;
  std::vector<std::vector<double>> Act;
  std::vector<double> Delta;
  std::vector<double> Errors;
  std::vector<double> Gradient, Moment, Square;
};

double LargestDeviation(NxNeuralBase& net, const Mirror& mirror, const TrialPositions& trials) {
  auto* td = dynamic_cast<NxTemporalDifferenceNet*>(&net);
  if (!td) return 0;
  std::vector<double> act(mirror.Slots());
  double largest = 0, cells[TrialPositions::CELLS];
  const size_t step = std::max<size_t>(1, trials.Positions() / 2000);
  for (size_t p = 0; p < trials.Positions(); p += step) {
    std::copy(trials.Cells(p), trials.Cells(p) + TrialPositions::CELLS, cells);
    double own = td->GetOutput(cells, false, false)[0];
    largest = std::max(largest, std::abs(own - mirror.Forward(trials.Cells(p), act)));
  }
  return largest;
}

}  // namespace

FitReport FitToTeacher(NxNeuralBase& net, const TrialPositions& trials, const FitOptions& options,
                       const std::function<void(unsigned epoch)>& progress) {
  FitReport report;
  Mirror mirror;
  if (!mirror.Build(net)) return report;
  Fit fit(mirror, trials, options);
  fit.Measure(report.SpreadBefore, report.AgreementBefore);
  SplitMix random(options.Seed);
  uint64_t step = 0;
  for (unsigned epoch = 0; epoch < options.Epochs; ++epoch) {
    fit.Epoch(step, random);
    if (progress) progress(epoch + 1);
  }
  fit.Measure(report.SpreadAfter, report.AgreementAfter);
  mirror.Store();
  report.LargestDeviation = LargestDeviation(net, mirror, trials);
  report.Fitted = true;
  return report;
}

bool CopyWeights(const NxNeuralBase& from, NxNeuralBase& to) {
  for (unsigned layer = 0; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
    NxBaseLayer* source = from.GetLayer(layer);
    NxBaseLayer* target = to.GetLayer(layer);
    if (!source != !target) return false;
    if (!source) continue;
    if (source->GetNumNodes() != target->GetNumNodes()) return false;
    for (unsigned i = 0; i < source->GetNumNodes(); ++i)
      if (source->GetNodeAt(i)->GetNumWeights() != target->GetNodeAt(i)->GetNumWeights()) return false;
  }
  for (unsigned layer = 0; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
    NxBaseLayer* source = from.GetLayer(layer);
    if (!source) continue;
    for (unsigned i = 0; i < source->GetNumNodes(); ++i) {
      NxNode* node = source->GetNodeAt(i);
      for (unsigned k = 0; k < node->GetNumWeights(); ++k)
        to.GetLayer(layer)->GetNodeAt(i)->SetWeight(k, node->GetWeight(k));
    }
  }
  return true;
}
