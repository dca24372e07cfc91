// nxbench built without FANN: the side-by-side runs are left out.
#include "fann_side.h"

namespace fann_side {

bool Available() { return false; }

std::optional<Result> Train(const std::vector<unsigned>&, const nx::DataSet&, const nx::DataSet*,
                            const nx::TrainOptions&, unsigned) {
  return std::nullopt;
}

}  // namespace fann_side
