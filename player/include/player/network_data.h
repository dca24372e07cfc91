#pragma once

#include <cstdint>
#include <string>

#include "neural/net.h"

// Writing network data files: four level blocks, each the low then the
// high network's weights record. The file replaces `path` only once it is
// complete.
namespace network_data {

struct LevelNets {
  NxNeuralBase* Low;
  NxNeuralBase* High;
};

bool WriteDataFile(const std::string& path, const LevelNets (&levels)[4]);

// A data file of freshly initialised networks (the seed fixes the weights).
bool WriteFreshDataFile(const std::string& path, unsigned seed);

}  // namespace network_data
