// libFuzzer target: the backdrop and scenery bitmap reader.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzBmpReader(data, size); }
