#pragma once

#include <cstdint>
#include <vector>

// How long a player's decisions took, for the figures a match reports.
class DecisionTimes {
 public:
  void Add(double seconds) { Seconds.push_back(seconds); }
  uint64_t Count() const { return Seconds.size(); }
  // The i-th decision's time, in the order they were made.
  double At(uint64_t i) const { return Seconds[i]; }
  // The share-th of the sorted times (0.5 the median); 0 without any.
  double Quantile(double share) const;
  double Max() const;

 private:
  std::vector<double> Seconds;
};
