// Replays the committed fuzzing corpus through the fuzzers' own entry
// points, so a reader that starts to crash on a known input fails here
// without a fuzzing run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus_replay.h"
#include "fuzz_entries.h"
#include "store/atomic_file.h"
#include "store/resume_file.h"

namespace {

std::string Corpus(const char* reader) { return std::string(QUORLA_FUZZ_CORPUS) + "/" + reader; }

}  // namespace

TEST(FuzzCorpus, EveryReaderTakesItsCorpusWholeAndCutShort) {
  ReplayCorpus(Corpus("resume"), FuzzResumeReader);
  ReplayCorpus(Corpus("weights"), FuzzWeightsReader);
  ReplayCorpus(Corpus("settings"), FuzzSettingsReader);
  ReplayCorpus(Corpus("spec"), FuzzSpecReader);
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
  for (const auto& input : CorpusInputs(Corpus("resume"))) EXPECT_EQ(CheckResumeBytes(input), "");
}
