#include <cmath>

#include "neural/backprop_net.h"

// The checks of values read from a specification file. Rejected values warn
// and are ignored; only a bad layer number aborts.

namespace {

// Also false for NaN, and checked before any conversion to an integer type.
bool IsWholeNumber(double value, double limit) { return value >= 0 && value <= limit && value == std::trunc(value); }

}  // namespace

bool NxNeuralNet::IsUnsignedInteger(double value) {
  if (IsWholeNumber(value, 4294967295.0)) return true;
  Warn("The command %s should have an INTEGER value greater or equal to zero.  Command ignored.",
       GetCommandString(static_cast<int>(SpecCommand)));
  return false;
}

bool NxNeuralNet::IsValidLayer(double value) {
  if (!IsWholeNumber(value, MAX_LAYERS - 1))
    Fail("Invalid layer number %lf in %s.  Allowed layer numbers must be in the range 0 - %u", value,
         SpecFileName.c_str(), MAX_LAYERS - 1);
  unsigned layer = static_cast<unsigned>(value);
  if (LayerDeclared[layer]) Fail("Multiple declaration of Layer %u in %s", layer, SpecFileName.c_str());
  return true;
}

bool NxNeuralNet::IsValidNodeType(double value) {
  if (!IsWholeNumber(value, double(MAJORITY))) {
    Warn("Unknown NodeType specified in %s of LAYER %u.  Command ignored.", SpecText, SpecLayer);
    return false;
  }
  if (SpecLayer == 0 && value != 0) {
    Warn("Only NODETYPE 0 is allowed for source LAYER 0, Command %s Ignored.", SpecText);
    return false;
  }
  return true;
}

bool NxNeuralNet::IsValidLearningRate(double value) {
  if (value >= 0 && value <= 10) return true;
  Warn("Learning Rate specified in %s of LAYER %u is out of range.  Command ignored.", SpecText, SpecLayer);
  return false;
}

bool NxNeuralNet::IsValidMomentum(double value) {
  if (value >= 0 && value <= 2) return true;
  Warn("Momentum specified in %s of LAYER %u is out of range.  Command ignored.", SpecText, SpecLayer);
  return false;
}

// A window of no nodes would give its target nodes nothing to see.
bool NxNeuralNet::IsValidPatternDimension(double value, unsigned limit) {
  if (value == 0) {
    Warn("Pattern dimension specified in %s of LAYER %u for TARGET %u must be at least 1.  Command ignored.",
         SpecText, SpecLayer, SpecTarget);
    return false;
  }
  if (IsWholeNumber(value, limit)) return true;
  Warn("Pattern dimension specified in %s of LAYER %u for TARGET %u exceeds the size of the layer.  Command "
       "ignored.",
       SpecText, SpecLayer, SpecTarget);
  return false;
}
