// libFuzzer target: the network data file, block by block, through the game.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzDataFileReader(data, size); }
