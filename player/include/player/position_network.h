#pragma once

#include "neural/net.h"

// The computer player's position networks: 56 inputs (a 14 x 4 grid: one
// row per suit, one column per rank, and a column of four features), 44 run
// detectors (three consecutive ranks of a suit), 13 rank nodes (the four
// cards of a rank and every run window holding it), 6 feature nodes, 7
// combining nodes and one output, the value of the position.
NxNeuralBase::ConfigData PositionNetworkTopology();

constexpr unsigned POSITION_CELLS = 56;
constexpr double LOW_NET_PERSISTENCE = 0.7;
constexpr double HIGH_NET_PERSISTENCE = 0.55;
constexpr unsigned AUTO_RATE_PERIOD = 40;
// Bytes of one network's weights record, and of one level's block.
constexpr long NET_RECORD_BYTES = 8012;
constexpr long LEVEL_BLOCK_BYTES = 16024;
constexpr unsigned NUM_LEVELS = 4;
