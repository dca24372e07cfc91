#pragma once

#include <cstdint>

/// Node types. The numeric values appear in specification and weights files.
enum NODETYPE : int32_t {
  SIGMOID = 0,
  LINEAR = 1,
  PEAKED = 2,
  BINARY = 3,
  OR = 4,
  AND = 5,
  MAJORITY = 6,
  MULTIPLICATIVE = 7,  ///< named, but no node supports it
};

enum LAYERTYPE : int32_t {
  INPUT_LAYER = 0,
  HIDDEN_LAYER = 1,
  OUTPUT_LAYER = 2,
};

/// Weights-file layout: 0 writes identifier 1, 1 writes the network's own.
enum VERSIONFLAG : int32_t {
  VERSION_0 = 0,
  VERSION_1 = 1,
};

/// Weighted nodes carry weights and a bias; logic nodes average binary sources.
inline bool IsWeightedType(NODETYPE type) { return type <= BINARY; }
inline bool IsLogicType(NODETYPE type) { return type >= OR && type <= MAJORITY; }
/// The types that learn through a smooth slope and take a small noise level.
inline bool IsSmoothType(NODETYPE type) { return type < BINARY; }
