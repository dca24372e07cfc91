#pragma once

#include <string>

class NxBaseLayer;
class NxFile;

namespace nx_weights {

// Why a layer's weights records, from where the file now stands, do not fit
// the layer: which node and what differs, in one line. The nodes' own
// check only says yes or no; this reads the same records again.
std::string DiagnoseLayer(NxFile& file, const NxBaseLayer& layer, unsigned layerNumber);

}  // namespace nx_weights
