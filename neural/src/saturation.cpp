#include "saturation.h"

namespace nx_saturation {

std::atomic<uint32_t> Events{0};

}  // namespace nx_saturation
