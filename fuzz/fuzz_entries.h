#pragma once

#include <cstddef>
#include <cstdint>

// The fuzzing entry points, plain functions so that the test suite can
// replay a corpus through exactly the code the fuzzer runs. Each must
// return normally for every input.
int FuzzResumeReader(const uint8_t* data, size_t size);
int FuzzWeightsReader(const uint8_t* data, size_t size);
int FuzzSettingsReader(const uint8_t* data, size_t size);
int FuzzSpecReader(const uint8_t* data, size_t size);
// A network data file: every block into the game's networks, one decision with each.
int FuzzDataFileReader(const uint8_t* data, size_t size);
// A backdrop or scenery bitmap: the header check, the file reader and the
// decoder (defined in fuzz_bmp_entry.cpp, with the window code's Qt-free half).
int FuzzBmpReader(const uint8_t* data, size_t size);
