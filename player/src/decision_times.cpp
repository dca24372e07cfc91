#include "player/decision_times.h"

#include <algorithm>
#include <cmath>

double DecisionTimes::Quantile(double share) const {
  if (Seconds.empty()) return 0.0;
  std::vector<double> sorted = Seconds;
  // The nearest rank: the smallest time with at least `share` of them at or below it.
  size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
  rank = std::clamp<size_t>(rank, 1, sorted.size());
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(rank - 1), sorted.end());
  return sorted[rank - 1];
}

double DecisionTimes::Max() const { return Seconds.empty() ? 0.0 : *std::max_element(Seconds.begin(), Seconds.end()); }
