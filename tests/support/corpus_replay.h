#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Replaying a committed fuzzing corpus through a fuzzer's own entry point,
// so a reader that starts to crash on a known input fails in the suite
// without a fuzzing run.
using FuzzEntry = int (*)(const uint8_t*, size_t);

// Every file of the corpus directory (none above 1 MiB is expected).
std::vector<std::vector<uint8_t>> CorpusInputs(const std::string& directory);

// Each input whole, and cut short at a spread of lengths; the entry must
// return 0 for all of them, and the corpus must not be empty.
void ReplayCorpus(const std::string& directory, FuzzEntry entry);
