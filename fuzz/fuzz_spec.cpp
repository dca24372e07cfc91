// libFuzzer target: the network specification reader.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzSpecReader(data, size); }
