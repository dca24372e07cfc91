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
  // A position the player reached: one its learning trains on.
  virtual void Reached(const double* /*view*/) {}
  // The hand is over; `outcome` is what learning trains its positions towards.
  virtual void HandEnds(double /*outcome*/) {}
};
