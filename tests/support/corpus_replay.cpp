#include "corpus_replay.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

std::vector<std::vector<uint8_t>> CorpusInputs(const std::string& directory) {
  std::vector<std::vector<uint8_t>> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::vector<unsigned char> bytes = ReadAll(entry.path().string());
    inputs.emplace_back(bytes.begin(), bytes.end());
  }
  return inputs;
}

void ReplayCorpus(const std::string& directory, FuzzEntry entry) {
  const auto inputs = CorpusInputs(directory);
  ASSERT_FALSE(inputs.empty()) << directory;
  for (const auto& input : inputs)
    for (size_t length = input.size();; length = length * 3 / 4) {
      EXPECT_EQ(entry(input.data(), length), 0) << directory;
      if (length == 0) break;
    }
}
