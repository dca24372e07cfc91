#include <gtest/gtest.h>

#include <random>

#include "backprop_helpers.h"

namespace {

std::vector<double> Row(const NxNeuralNet& net, unsigned index) {
  const double* row = net.GetIOPatterns()[index];
  return std::vector<double>(row, row + net.GetNumInputs() + net.GetNumOutputs());
}

}  // namespace

class PatternFile : public ::testing::Test {
 protected:
  PatternFile() : net(LayeredConfig(4, 0, 1)) {}
  NxNeuralNet net;
};

TEST_F(PatternFile, TextUpToTheParenthesisIsSkipped) {
  ScratchFile file("pattern one (0 1 1 0 1\n");
  net.ReadIOPatterns(file.Name(), 1);
  ASSERT_EQ(net.GetNumPatterns(), 1u);
  EXPECT_EQ(Row(net, 0), (std::vector<double>{0, 1, 1, 0, 1}));
}

TEST_F(PatternFile, PatternsMaySpanLinesAndShareThem) {
  ScratchFile file("0 1\n1 0 1 \n\n  0.5 0.25 0 1 0\n");
  net.ReadIOPatterns(file.Name(), 0);
  ASSERT_EQ(net.GetNumPatterns(), 2u);
  EXPECT_EQ(Row(net, 1), (std::vector<double>{0.5, 0.25, 0, 1, 0}));
  EXPECT_EQ(net.GetPatternOrder(1), 1u);
}

TEST_F(PatternFile, AShortFileKeepsItsCompletePatternsAndWarns) {
  WarningRecorder recorder;
  ScratchFile file("(1 1 1 1 1\n(0 0 0 0 0\n(1 0 1\n");
  net.ReadIOPatterns(file.Name(), 5);
  EXPECT_EQ(net.GetNumPatterns(), 2u);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_NE(WarningRecorder::Shown()[0].text.find("ended after 2 complete patterns; 5 were requested"),
            std::string::npos);
}

TEST_F(PatternFile, FilesWithoutACompletePatternAreErrors) {
  ScratchFile empty("");
  EXPECT_THROW(net.ReadIOPatterns(empty.Name(), 4), XCMessage);
  ScratchFile partial("1 0 1\n");
  EXPECT_THROW(net.ReadIOPatterns(partial.Name(), 0), XCMessage);
  ScratchFile words("zero one one zero one\n");
  try {
    net.ReadIOPatterns(words.Name(), 0);
    FAIL();
  } catch (const XCMessage& error) {
    EXPECT_NE(std::string(error.what()).find("not a number in line 1"), std::string::npos);
  }
  EXPECT_EQ(net.GetNumPatterns(), 0u);
}

TEST_F(PatternFile, TextAfterCompletePatternsStopsReadingWithAWarning) {
  WarningRecorder recorder;
  ScratchFile file("(1 1 1 1 1\nend of data\n");
  net.ReadIOPatterns(file.Name(), 0);
  EXPECT_EQ(net.GetNumPatterns(), 1u);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_NE(WarningRecorder::Shown()[0].text.find("line 2"), std::string::npos);
}

TEST_F(PatternFile, LongLinesArriveInPiecesOf255Characters) {
  // 253 spaces and "0." fill the first piece, so "5" starts the second:
  // the value 0.5 is read as 0 and 5.
  ScratchFile file(std::string(253, ' ') + "0.5 1 1 1\n");
  net.ReadIOPatterns(file.Name(), 1);
  EXPECT_EQ(Row(net, 0), (std::vector<double>{0, 5, 1, 1, 1}));
}

TEST_F(PatternFile, RandomBytesNeverCrash) {
  WarningRecorder recorder;
  std::mt19937 random(9);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += round % 2 ? char(random()) : "01 .(\n-e9x"[random() % 11];
    ScratchFile file(text);
    try {
      net.ReadIOPatterns(file.Name(), round % 3 == 0 ? 0 : 1000000000);
    } catch (const XCMessage&) {
    }
  }
}
