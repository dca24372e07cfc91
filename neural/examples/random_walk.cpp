// Temporal-difference learning on the five-state random walk: a walk starts
// in the middle state, steps left or right at random, and ends beyond either
// end with outcome 0 on the left and 1 on the right. The network learns each
// state's chance of ending on the right, which is 1/6 ... 5/6.
#include <neural/trainer.h>

#include <cmath>
#include <cstdio>
#include <random>

int main() {
  constexpr int STATES = 5;
  nx::TempDiffNet net = nx::MakeTempDiffNet({STATES, 1}, 0.8, {.Seed = 1});
  net->SetGlobalLearningRate(0.1);
  std::mt19937 random(1);
  std::vector<double> cells(STATES);
  for (int walk = 0; walk < 4000; ++walk) {
    int state = STATES / 2;
    for (bool first = true; state >= 0 && state < STATES; first = false) {
      std::fill(cells.begin(), cells.end(), 0.0);
      cells[state] = 1;
      nx::Observe(*net, cells, true, first);
      state += random() % 2 ? 1 : -1;
    }
    const double outcome = state < 0 ? 0.0 : 1.0;
    nx::TrainOnOutcomes(*net, std::span<const double>(&outcome, 1));
  }
  double worst = 0;
  for (int s = 0; s < STATES; ++s) {
    std::fill(cells.begin(), cells.end(), 0.0);
    cells[s] = 1;
    const double value = nx::Observe(*net, cells, false, true)[0];
    const double truth = (s + 1) / double(STATES + 1);
    worst = std::fmax(worst, std::fabs(value - truth));
    std::printf("state %c: %.3f (true %.3f)\n", 'A' + s, value, truth);
  }
  std::printf("largest difference %.3f\n", worst);
  return worst < 0.1 ? 0 : 1;
}
