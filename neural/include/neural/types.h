#pragma once

/// @file types.h
/// @brief The enumerations of node types, layer types and weights-file layouts.

#include <cstdint>

/// Node types. The numeric values appear in specification and weights files.
enum NODETYPE : int32_t {
  SIGMOID = 0,  ///< 1 / (1 + e^-x) of the net input x, 0 to 1; saturates beyond |x| = 10
  LINEAR = 1,  ///< the net input itself
  PEAKED = 2,  ///< a bell of the net input: 1 at 0, falling towards 0 on both sides
  BINARY = 3,  ///< 1 when the net input is above 0, else 0
  OR = 4,  ///< logic: 1 when any source is 1
  AND = 5,  ///< logic: 1 when every source is 1
  MAJORITY = 6,  ///< logic: 1 when more than half the sources are 1
  MULTIPLICATIVE = 7,  ///< named, but no node supports it
};

/// The role of a layer in its network.
enum LAYERTYPE : int32_t {
  INPUT_LAYER = 0,  ///< layer 0, which takes the inputs
  HIDDEN_LAYER = 1,  ///< layers 2 to 15
  OUTPUT_LAYER = 2,  ///< layer 1, which gives the outputs
};

/// Weights-file layout: 0 writes identifier 1, 1 writes the network's own.
enum VERSIONFLAG : int32_t {
  VERSION_0 = 0,  ///< the identifier written is 1
  VERSION_1 = 1,  ///< the identifier written is the network's GetWeightSetId()
};

/// Weighted nodes carry weights and a bias; logic nodes average binary sources.
/// SIGMOID, LINEAR, PEAKED and BINARY are weighted.
inline bool IsWeightedType(NODETYPE type) { return type <= BINARY; }
/// OR, AND and MAJORITY: nodes that average binary sources and have no weights.
inline bool IsLogicType(NODETYPE type) { return type >= OR && type <= MAJORITY; }
/// The types that learn through a smooth slope and take a small noise level:
/// SIGMOID, LINEAR and PEAKED.
inline bool IsSmoothType(NODETYPE type) { return type < BINARY; }
