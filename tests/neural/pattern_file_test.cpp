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
  ScratchFile file("(1 1 1 1 1\n(0 0 0 0 0\n");
  net.ReadIOPatterns(file.Name(), 5);
  EXPECT_EQ(net.GetNumPatterns(), 2u);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_NE(WarningRecorder::Shown()[0].text.find("ended after 2 complete patterns; 5 were requested"),
            std::string::npos);
}

TEST_F(PatternFile, ValuesThatDoNotFillWholePatternsWarnWhereTheFileRanShort) {
  WarningRecorder recorder;
  // One value of the third pattern is missing, so every later one shifts.
  ScratchFile file("1 1 1 1 1\n0 0 0 0 0\n1 0 1 1\n0 1 0 1 0\n");
  net.ReadIOPatterns(file.Name(), 0);
  EXPECT_EQ(net.GetNumPatterns(), 3u);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_EQ(WarningRecorder::Shown()[0].text.substr(0, 88),
            "Pattern 4 is cut short: 19 values do not fill whole patterns of 5 values.  Reading kept ");
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

TEST_F(PatternFile, TwoParenthesisedPatternsShareALineAndCommasAndTabsSeparate) {
  WarningRecorder recorder;
  ScratchFile file("(0 1 1 0 1) (1 0 0 1 0)\nA (1, 1, 0, 0, 1)(0\t0\t1 1\t0)\n0.5 0.25 0 1 0 # note\n");
  net.ReadIOPatterns(file.Name(), 0);
  EXPECT_TRUE(WarningRecorder::Shown().empty());
  ASSERT_EQ(net.GetNumPatterns(), 5u);
  EXPECT_EQ(Row(net, 0), (std::vector<double>{0, 1, 1, 0, 1}));
  EXPECT_EQ(Row(net, 1), (std::vector<double>{1, 0, 0, 1, 0}));
  EXPECT_EQ(Row(net, 2), (std::vector<double>{1, 1, 0, 0, 1}));
  EXPECT_EQ(Row(net, 3), (std::vector<double>{0, 0, 1, 1, 0}));
  EXPECT_EQ(Row(net, 4), (std::vector<double>{0.5, 0.25, 0, 1, 0}));
}

TEST_F(PatternFile, LinesOfAnyLengthGiveExactlyTheirValues) {
  for (size_t length : {255u, 256u, 300u, 361u, 666u, 5000u, 100000u}) {
    // Lines of about `length` characters, so that values straddle every
    // boundary a fixed-size piece could have.
    const std::string group = "0.123484 0.123484 0.123484 0.123484 1 ";
    const unsigned groups = static_cast<unsigned>(length / group.size());
    const unsigned values = 5 * groups;
    std::string line, text;
    for (unsigned g = 0; g < groups; ++g) line += group;
    for (int l = 0; l < 3; ++l) text += line + "\n";
    ScratchFile file(text);
    net.ReadIOPatterns(file.Name(), 0);
    ASSERT_EQ(net.GetNumPatterns(), 3 * values / 5) << length;
    for (unsigned p = 0; p < net.GetNumPatterns(); ++p)
      ASSERT_EQ(Row(net, p), (std::vector<double>{0.123484, 0.123484, 0.123484, 0.123484, 1})) << length;
  }
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

TEST_F(PatternFile, OneLineOfManyPatternsIsReadInOnePass) {
  // 200,000 patterns on one line: a search of the rest of the line for
  // every pattern would take minutes.
  std::string line;
  for (int p = 0; p < 200000; ++p) line += "0 1 1 0 1 ";
  ScratchFile file(line + "\n");
  net.ReadIOPatterns(file.Name(), 0);
  ASSERT_EQ(net.GetNumPatterns(), 200000u);
  EXPECT_EQ(Row(net, 199999), (std::vector<double>{0, 1, 1, 0, 1}));
}
