#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "neural/trainer.h"

// A mistake on the command line.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BenchOptions {
  std::string command;
  std::string dataFile;
  std::string outputDir;  // digits-patterns
  std::vector<unsigned> seeds{1, 2, 3};
  nx::TrainOptions training;
  bool epochsGiven = false;
};

BenchOptions ParseBenchArguments(const std::vector<std::string_view>& args);
