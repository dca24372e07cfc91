#include <gtest/gtest.h>

#include <filesystem>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "player/data_paths.h"
#include "player/position_network.h"

// The shipped default networks: four level blocks, each the low and the
// high network's record, all of which load; the installation has a copy.
TEST(DefaultData, EveryLevelLoadsFromTheShippedFile) {
  const std::string shipped = QUORLA_DEFAULT_DATA;
  ASSERT_TRUE(std::filesystem::exists(shipped));
  EXPECT_EQ(std::filesystem::file_size(shipped), uintmax_t(NUM_LEVELS * LEVEL_BLOCK_BYTES));
  NxFile file(shipped, "rb", true);
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    file.FSeek(static_cast<long>(level) * LEVEL_BLOCK_BYTES, 0);
    for (double persistence : {LOW_NET_PERSISTENCE, HIGH_NET_PERSISTENCE}) {
      NxNeuralBase* net = CreateTempDiffNet(PositionNetworkTopology(), persistence);
      EXPECT_TRUE(net->ReadWeights(file)) << "level " << level;
      DeleteNet(net);
    }
  }
  std::string installed = data_paths::ProgramDirectory() + data_paths::DEFAULT_DATA_FILE;
  EXPECT_TRUE(std::filesystem::exists(installed)) << installed;
}
