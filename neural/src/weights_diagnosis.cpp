#include "weights_diagnosis.h"

#include <cmath>

#include "neural/exceptions.h"
#include "neural/layer.h"
#include "neural/node.h"
#include "weights_io.h"

namespace nx_weights {

namespace {

std::string TypeName(int32_t type) {
  if (type == LINEAR) return "LINEAR";
  const char* name = type >= SIGMOID && type <= MULTIPLICATIVE ? NodeTypeName(static_cast<NODETYPE>(type)) : "";
  return *name ? name : "type " + std::to_string(type);
}

// Empty when the node's record fits it.
std::string DiagnoseNode(NxFile& file, const NxNode& node, const std::string& where) {
  int32_t type;
  uint32_t count;
  if (!ReadInt32(file, type) || !ReadUint32(file, count)) return "the file ends before " + where;
  if (type != node.GetNodeType())
    return where + " is " + TypeName(node.GetNodeType()) + " in the network but " + TypeName(type) + " in the file";
  const uint32_t expected = node.GetNumSources() + 1;
  if (count != expected)
    return where + " takes " + std::to_string(expected) + " weights with its bias, the file has " +
           std::to_string(count);
  if (!IsWeightedType(static_cast<NODETYPE>(type))) return "";
  double value;
  if (!ReadDouble(file, value)) return "the file ends within " + where;
  if (!std::isfinite(value)) return "the scale value of " + where + " is not a finite number";
  for (uint32_t i = 0; i < count; ++i) {
    if (!ReadDouble(file, value)) return "the file ends within " + where;
    if (!IsRepresentable(value))
      return "weight " + std::to_string(i + 1) + " of " + where + " lies outside -2048 to 2048";
  }
  return "";
}

}  // namespace

std::string DiagnoseLayer(NxFile& file, const NxBaseLayer& layer, unsigned layerNumber) {
  for (unsigned i = 0; i < layer.GetNumNodes(); ++i) {
    const std::string where = "node " + std::to_string(i + 1) + " of LAYER " + std::to_string(layerNumber);
    std::string reason = DiagnoseNode(file, *layer.GetNodeAt(i), where);
    if (!reason.empty()) return reason;
  }
  return "LAYER " + std::to_string(layerNumber) + " does not fit the file";
}

}  // namespace nx_weights
