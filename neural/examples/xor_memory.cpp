// Exclusive or from patterns in memory: a 2-4-1 network trained by the
// layer's defaults until its mean squared error is under 0.001.
#include <neural/trainer.h>

#include <cstdio>

int main() {
  nx::DataSet data(2, 1);
  data.Add(std::vector<double>{0, 0}, std::vector<double>{0});
  data.Add(std::vector<double>{0, 1}, std::vector<double>{1});
  data.Add(std::vector<double>{1, 0}, std::vector<double>{1});
  data.Add(std::vector<double>{1, 1}, std::vector<double>{0});
  nx::BackPropNet net = nx::MakeBackPropNet({2, 4, 1}, {.Seed = 1});
  nx::TrainOptions options;
  options.TargetMse = 0.001;
  options.MaxEpochs = 1000;
  const nx::TrainReport report = nx::Train(*net, data, options);
  for (size_t i = 0; i < data.Size(); ++i)
    std::printf("%g xor %g = %.3f\n", data.Inputs(i)[0], data.Inputs(i)[1], nx::Propagate(*net, data.Inputs(i))[0]);
  std::printf("%u epochs, mean squared error %.6f\n", report.Epochs, report.TrainingMse);
  return report.Stop == nx::StopReason::TargetError ? 0 : 1;
}
