#include "player/position_network.h"

NxNeuralBase::ConfigData PositionNetworkTopology() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {14, 4}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(5, 1, {7, 1}, {0, 0}, {0, 0}, 0);
  config.AddLayer(2, {11, 4}, SIGMOID);
  config.AddMapping(0, 2, {3, 1}, {1, 1}, {0, 0}, 0);
  config.AddLayer(3, {13, 1}, SIGMOID);
  config.AddMapping(0, 3, {1, 4}, {1, 0}, {0, 0}, 0);
  // Every run window that holds rank x; windows past the ends do not exist,
  // so the mapping is exempt from the geometry check.
  config.AddMapping(2, 3, {3, 4}, {1, 0}, {-2, 0}, 1);
  config.AddLayer(4, {6, 1}, SIGMOID);
  config.AddMapping(0, 4, {1, 4}, {0, 0}, {13, 0}, 0);
  config.AddLayer(5, {7, 1}, SIGMOID);
  config.AddMapping(2, 5, {11, 4}, {0, 0}, {0, 0}, 0);
  config.AddMapping(3, 5, {13, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(4, 5, {6, 1}, {0, 0}, {0, 0}, 0);
  return config;
}
