#pragma once

// Back-propagation timings for neural-bench.
namespace backprop_bench {

struct Figure {
  const char* name;
  double connectionUpdates;  // per presentation: weights including biases
  double nanosecondsPerUpdate;
};

// Per-pattern training of a 64-64-10 fully connected sigmoid net on 5,000
// random patterns with tolerance 0, so that every pattern trains.
Figure Wide(unsigned epochs);
// The exclusive-or net of the examples (2-4-1) trained as nxtrain trains
// it: slices of whole epochs, a record every 10 epochs formatted as it
// prints them, the clock read between slices.
Figure Xor(unsigned epochs);

}  // namespace backprop_bench
