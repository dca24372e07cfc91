#pragma once

// Told of every position the computer player rates while it decides: the
// hook offline training collects its positions through. The game itself
// never installs one.
class TrialWatcher {
 public:
  virtual ~TrialWatcher() = default;
  // A take or discard decision begins; the trials that follow belong to it.
  virtual void DecisionStarts() = 0;
  // One rated position: the 56 cells of the computer's view.
  virtual void Trial(const double* view) = 0;
};
