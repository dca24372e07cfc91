#include "player/network_data.h"

#include <cstdio>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/safe_save.h"
#include "neural/seed.h"
#include "player/position_network.h"

namespace network_data {

bool WriteDataFile(const std::string& path, const LevelNets (&levels)[4]) {
  bool written = false;
  try {
    NxSafeSave save(path);
    if (!save.Opened()) return false;
    NxFile file(path, save.GetStream(), "wb");
    written = true;
    for (const LevelNets& level : levels)
      written = written && level.Low->WriteWeights(file, VERSION_0) && level.High->WriteWeights(file, VERSION_0);
    file.FClose();
    written = written && save.Commit();
  } catch (const XCFile&) {
    written = false;
  }
  return written;
}

bool WriteFreshDataFile(const std::string& path, unsigned seed) {
  NxFixRandomSeed(seed);
  LevelNets levels[4];
  for (LevelNets& level : levels) {
    level.Low = CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE);
    level.High = CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE);
  }
  bool written = WriteDataFile(path, levels);
  for (LevelNets& level : levels) {
    DeleteNet(level.Low);
    DeleteNet(level.High);
  }
  return written;
}

}  // namespace network_data
