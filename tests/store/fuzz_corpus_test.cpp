// Replays the committed fuzzing corpus through the fuzzers' own entry
// points, so a reader that starts to crash on a known input fails here
// without a fuzzing run.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fuzz_entries.h"
#include "store/atomic_file.h"
#include "store/resume_file.h"

namespace {

using Entry = int (*)(const uint8_t*, size_t);

std::vector<std::vector<uint8_t>> Corpus(const char* reader) {
  std::vector<std::vector<uint8_t>> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(QUORLA_FUZZ_CORPUS) + "/" + reader))
    if (auto bytes = ReadFileLimited(entry.path().string(), 1 << 20)) inputs.push_back(*bytes);
  return inputs;
}

// Each input whole, and cut short at a spread of lengths.
void Replay(const char* reader, Entry entry) {
  const auto inputs = Corpus(reader);
  ASSERT_FALSE(inputs.empty()) << reader;
  for (const auto& input : inputs)
    for (size_t length = input.size();; length = length * 3 / 4) {
      EXPECT_EQ(entry(input.data(), length), 0);
      if (length == 0) break;
    }
}

}  // namespace

TEST(FuzzCorpus, EveryReaderTakesItsCorpusWholeAndCutShort) {
  Replay("resume", FuzzResumeReader);
  Replay("weights", FuzzWeightsReader);
  Replay("settings", FuzzSettingsReader);
  Replay("spec", FuzzSpecReader);
}

TEST(FuzzCorpus, TheDefaultNetworksPlayAndDamagedBlocksAreRefusedAlike) {
  auto shipped = ReadFileLimited(QUORLA_DEFAULT_NETWORKS, 1 << 20);
  ASSERT_TRUE(shipped);
  EXPECT_EQ(FuzzDataFileReader(shipped->data(), shipped->size()), 0);
  std::vector<uint8_t> damaged = *shipped;
  damaged[48099] = 0x7f;  // level 4's block
  EXPECT_EQ(FuzzDataFileReader(damaged.data(), damaged.size()), 0);
  EXPECT_EQ(FuzzDataFileReader(damaged.data(), 40000), 0);
}

TEST(FuzzCorpus, TheSavedGamesInTheCorpusAreStillReadable) {
  for (const auto& input : Corpus("resume")) EXPECT_EQ(CheckResumeBytes(input), "");
}
