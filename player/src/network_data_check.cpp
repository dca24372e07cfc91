#include "player/network_data_check.h"

#include <cstdio>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/net.h"
#include "player/position_network.h"

namespace network_data {

long BytesPastLevelBlocks(long fileBytes) {
  constexpr long LEVEL_BLOCKS_BYTES = NUM_LEVELS * LEVEL_BLOCK_BYTES;
  return fileBytes > LEVEL_BLOCKS_BYTES ? fileBytes - LEVEL_BLOCKS_BYTES : 0;
}

BlockCheck ReadLevelBlock(NxFile& file, uint32_t level, NxNeuralBase& low, NxNeuralBase& high) {
  BlockCheck check;
  file.FSeek(0, SEEK_END);
  check.FileBytes = file.FTell();
  const long start = static_cast<long>(level) * LEVEL_BLOCK_BYTES;
  check.Reached = level < NUM_LEVELS && check.FileBytes >= start;
  if (!check.Reached) return check;
  file.FSeek(start, SEEK_SET);
  check.LowRead = low.ReadWeights(file);
  check.HighRead = check.LowRead && high.ReadWeights(file);
  // Records of other networks than the block was laid out for would reach
  // into the next level's block: reading them would take that level's
  // bytes, and saving them would overwrite its start.
  check.Overruns = check.LowRead && file.FTell() > start + LEVEL_BLOCK_BYTES;
  return check;
}

std::string CheckLevelBlock(const std::string& path, uint32_t level) {
  const std::string where = path + ": level " + std::to_string(level + 1) + ": ";
  if (level >= NUM_LEVELS) return where + "no such level";
  NxNeuralBase* low = CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE);
  NxNeuralBase* high = CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE);
  std::string problem;
  try {
    NxFile file(path, "rb", true);
    const BlockCheck check = ReadLevelBlock(file, level, *low, *high);
    file.FClose();
    if (check.TrailingBytes() > 0)
      problem = "the file has " + std::to_string(check.TrailingBytes()) + " bytes after the four level blocks";
    else if (!check.Reached || (!check.HighRead && check.FileBytes < (level + 1) * LEVEL_BLOCK_BYTES))
      problem = "the file is too short for this level's block";
    else if (!check.HighRead)
      problem = "the block's weights records are damaged";
    else if (check.Overruns)
      problem = "the block's weights records run past its end";
  } catch (const XCBase& error) {
    problem = error.what();
  }
  DeleteNet(low);
  DeleteNet(high);
  return problem.empty() ? "" : where + problem;
}

}  // namespace network_data
