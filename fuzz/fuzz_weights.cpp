// libFuzzer target: the network weights reader.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzWeightsReader(data, size); }
