#pragma once

#include "neural/net.h"

// The shape of the computer player's position networks: 56 inputs (a 14 x 4
// grid of card cells plus one feature column), run detectors, rank nodes,
// feature nodes, seven combining nodes and one output.
inline NxNeuralBase::ConfigData GameNetworkTopology() {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {14, 4}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddMapping(5, 1, {7, 1}, {0, 0}, {0, 0}, 0);
  config.AddLayer(2, {11, 4}, SIGMOID);
  config.AddMapping(0, 2, {3, 1}, {1, 1}, {0, 0}, 0);
  config.AddLayer(3, {13, 1}, SIGMOID);
  config.AddMapping(0, 3, {1, 4}, {1, 0}, {0, 0}, 0);
  config.AddMapping(2, 3, {3, 4}, {1, 0}, {-2, 0}, 1);
  config.AddLayer(4, {6, 1}, SIGMOID);
  config.AddMapping(0, 4, {1, 4}, {0, 0}, {13, 0}, 0);
  config.AddLayer(5, {7, 1}, SIGMOID);
  config.AddMapping(2, 5, {11, 4}, {0, 0}, {0, 0}, 0);
  config.AddMapping(3, 5, {13, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(4, 5, {6, 1}, {0, 0}, {0, 0}, 0);
  return config;
}
