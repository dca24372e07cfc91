#include <gtest/gtest.h>

#include <random>

#include "backprop_helpers.h"
#include "neural/exceptions.h"
#include "neural/file.h"

namespace {

const char* const SQUARE_NET =
    "LAYER : 0\nNODES : 4\nX-DIMENSION : 2\nY-DIMENSION : 2\nTARGET : 1\n"
    "LAYER : 1\nNODES : 1\n";

// The message of the plain exception a specification file aborts with.
std::string AbortText(const std::string& text) {
  ScratchFile file(text);
  try {
    NxNeuralNet net(file.Name());
  } catch (const XCMessage& error) {
    return error.what();
  } catch (const XCBase& error) {
    return std::string("XCBase: ") + error.what();
  }
  return "built";
}

std::vector<std::string> WarningsOf(const std::string& text) {
  WarningRecorder recorder;
  ScratchFile file(text);
  NxNeuralNet net(file.Name());
  std::vector<std::string> texts;
  for (const auto& warning : WarningRecorder::Shown()) texts.push_back(warning.text);
  return texts;
}

}  // namespace

TEST(SpecFile, SquareInputFullyConnectedToOneOutput) {
  ScratchFile file(SQUARE_NET);
  NxNeuralNet net(file.Name());
  EXPECT_EQ(net.GetNumInputs(), 4u);
  EXPECT_EQ(net.GetNumOutputs(), 1u);
  EXPECT_EQ(net.GetLayer(0)->Size().cx, 2);
  EXPECT_EQ(net.GetLayer(0)->Size().cy, 2);
  EXPECT_EQ(net.GetLayer(1)->GetNodeAt(0)->GetNumSources(), 4u);
}

TEST(SpecFile, StructuralErrorsAbortWithTheirMessages) {
  const std::string tail = "LAYER : 1\nNODES : 1\n";
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 6\nX-DIMENSION : 4\nTARGET : 1\n" + tail),
            "X,Y dimensions inconsistent with the number of nodes in layer 0");
  EXPECT_EQ(AbortText(std::string(SQUARE_NET) + "LAYER : 1\nNODES : 1\n").substr(0, 33),
            "Multiple declaration of Layer 1 i");
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 2\nTARGET : 2\nLAYER : 2\nNODES : 1\n"),
            "XCBase: Network specification file has no output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  {
    WarningRecorder recorder;  // an output layer without sources is dropped, leaving no output
    EXPECT_EQ(AbortText("LAYER : 0\nNODES : 2\n" + tail),
              "XCBase: Network specification file has no output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  }
  EXPECT_EQ(AbortText("LAYER : 0\nTARGET : 1\n" + tail), "Unable to find NODES specification for Layer 0");
  EXPECT_EQ(AbortText("LAYER : 16\nNODES : 1\n").substr(0, 42), "Invalid layer number 16.000000 in /tmp/nx_");
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 4\nTARGET : 1\nX-OVERLAP : 1\n" + tail),
            "Spurious X-OVERLAP command in the middle of a PATTERN specification.  Expected a PATTERN-X-DIMENSION "
            "command.");
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 4\nTARGET : 1\nPATTERN-X-DIMENSION : 2\nTARGET : 1\n" + tail),
            "Spurious TARGET command in the middle of a PATTERN specification.  Expected a PATTERN-Y-DIMENSION "
            "command.");
}

TEST(SpecFile, HugeCountsAreRefusedNotAllocated) {
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 4000000000\nTARGET : 1\nLAYER : 1\nNODES : 1\n"),
            "NODES specification for Layer 0 must lie in the range 1 - 65536");
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 0\nX-DIMENSION : 4000000000\nY-DIMENSION : 0\n"),
            "NODES specification for Layer 0 must lie in the range 1 - 65536");
  EXPECT_EQ(AbortText("LAYER : 0\nNODES : 60000\nTARGET : 1\nLAYER : 1\nNODES : 60000\n").substr(0, 40),
            "XCBase: The connections into LAYER 1 bri");
}

TEST(SpecFile, MisplacedAndOutOfRangeCommandsWarnAndParsingGoesOn) {
  std::vector<std::string> warnings =
      WarningsOf("NODES : 3\nLAYER : 0\nLEARN-RATE : 12\nMOMENTUM : 3\nNODES : 4\nNODETYPE : 2\nTARGET : 1\n"
                 "LAYER : 1\nNODES : 1\nNODETYPE : 9\nTARGET : 1.5\nPATTERN-X-DIMENSION : 1\n");
  ASSERT_EQ(warnings.size(), 7u);
  EXPECT_EQ(warnings[0], "Spurious NODES command found outside of LAYER specification.  Command ignored.");
  EXPECT_EQ(warnings[1], "Learning Rate specified in LEARN-RATE : 12\n of LAYER 0 is out of range.  Command ignored.");
  EXPECT_EQ(warnings[2], "Momentum specified in MOMENTUM : 3\n of LAYER 0 is out of range.  Command ignored.");
  EXPECT_EQ(warnings[3], "Only NODETYPE 0 is allowed for source LAYER 0, Command NODETYPE : 2\n Ignored.");
  EXPECT_EQ(warnings[4], "Unknown NodeType specified in NODETYPE : 9\n of LAYER 1.  Command ignored.");
  EXPECT_EQ(warnings[5],
            "The command TARGET should have an INTEGER value greater or equal to zero.  Command ignored.");
  EXPECT_EQ(warnings[6],
            "Spurious PATTERN-X-DIMENSION command found in the middle of a TARGET specification.  Command ignored.");
}

TEST(SpecFile, StrayLinesInsideNodesAndPatternsWarn) {
  std::vector<std::string> warnings =
      WarningsOf("LAYER : 0\nX-DIMENSION : 2\nNODES : 4\nMOMENTUM : 1\nTARGET : 1\nPATTERN-X-DIMENSION : 5\n"
                 "PATTERN-Y-DIMENSION : 1\nNODES : 2\nX-OVERLAP : 9\nX-OVERLAP : 1\nLAYER : 1\nNODES : 1\n");
  ASSERT_EQ(warnings.size(), 5u);
  EXPECT_EQ(warnings[0], "Spurious X-DIMENSION command found before NODES specification.  Command ignored.");
  EXPECT_EQ(warnings[1], "Spurious MOMENTUM command found in the middle of a NODES specification.  Command ignored.");
  EXPECT_EQ(warnings[2],
            "Pattern dimension specified in PATTERN-X-DIMENSION : 5\n of LAYER 0 for TARGET 1 exceeds the size of "
            "the layer.  Command ignored.");
  EXPECT_EQ(warnings[3],
            "Spurious NODES command found in the middle of a pattern OVERLAP specification.  Command ignored.");
  EXPECT_EQ(warnings[4],
            "X-OVERLAP specified in X-OVERLAP : 9\n of LAYER 0 must be smaller than the pattern dimension 4.  "
            "Command ignored.");
}

TEST(SpecFile, EmptyWindowsAndOverlapsThatStopTheWindowAreRefused) {
  std::vector<std::string> warnings = WarningsOf(
      "LAYER : 0\nNODES : 16\nX-DIMENSION : 4\nY-DIMENSION : 4\nTARGET : 1\nPATTERN-X-DIMENSION : 0\n"
      "PATTERN-Y-DIMENSION : 2\nY-OVERLAP : 2\nLAYER : 1\nNODES : 2\nX-DIMENSION : 1\nY-DIMENSION : 2\n");
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0],
            "Pattern dimension specified in PATTERN-X-DIMENSION : 0\n of LAYER 0 for TARGET 1 must be at least 1.  "
            "Command ignored.");
  EXPECT_EQ(warnings[1],
            "Y-OVERLAP specified in Y-OVERLAP : 2\n of LAYER 0 must be smaller than the pattern dimension 2.  "
            "Command ignored.");
}

TEST(SpecFile, UnknownCommandWordsWarnWithTheirLine) {
  std::vector<std::string> warnings =
      WarningsOf("A comment : not a command\nLAYER : 0\nNODES : 4\nTARGETS : 4\nTARGET : 1\nLAYER : 1\n"
                 "NODES : 1\nNODE-TYPE : 3\n");
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0].substr(0, 35), "Unknown command TARGETS found in li");
  EXPECT_NE(warnings[0].find("line 4 of /tmp/"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[1].find("Unknown command NODE-TYPE found in line 8 of "), std::string::npos) << warnings[1];
}

TEST(SpecFile, TargetBeyondLayer15IsRefusedWithItsGroup) {
  std::vector<std::string> warnings =
      WarningsOf(std::string(SQUARE_NET) + "TARGET : 16\nPATTERN-X-DIMENSION : 1\nPATTERN-Y-DIMENSION : 1\n");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            "TARGET LAYER specified in TARGET : 16\n of LAYER 1 is out of range.  Allowed target layers must be in "
            "the range 0 - 15.  Command ignored.");
}

TEST(SpecFile, OverlapMovesTheFieldByPatternSizeMinusOverlap) {
  ScratchFile file(
      "LAYER : 0\nNODES : 16\nX-DIMENSION : 4\nY-DIMENSION : 4\nTARGET : 1\nPATTERN-X-DIMENSION : 2\n"
      "PATTERN-Y-DIMENSION : 2\nX-OVERLAP : 1\nLAYER : 1\nNODES : 6\nX-DIMENSION : 3\nY-DIMENSION : 2\n");
  NxNeuralNet net(file.Name());
  const NxOverlapPattern* mapping = net.GetConfig().GetMapping(0, 1);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(mapping->Size().cx, 2);
  EXPECT_EQ(mapping->Size().cy, 2);
  EXPECT_EQ(mapping->GetStep().cx, 1);
  EXPECT_EQ(mapping->GetStep().cy, 2);
  EXPECT_EQ(net.GetLayer(1)->GetNodeAt(5)->GetNumSources(), 4u);
}

TEST(SpecFile, LongLinesArriveInPiecesOf79Characters) {
  // The padding fills the first piece; the command in the second piece of
  // the same line is read as a line of its own.
  std::string padded = std::string(79, '.') + "LAYER : 1\n";
  ScratchFile file("LAYER : 0\nNODES : 2\nTARGET : 1\n" + padded + "NODES : 1\n");
  NxNeuralNet net(file.Name());
  EXPECT_EQ(net.GetNumOutputs(), 1u);
}

TEST(SpecFile, CommandStringsAndGlobalValues) {
  ScratchFile spec(SQUARE_NET);
  NxNeuralNet net(spec.Name());
  EXPECT_STREQ(net.GetCommandString(0), "TARGET");
  EXPECT_STREQ(net.GetCommandString(14), "GLOBAL-MOMENTUM");
  EXPECT_STREQ(net.GetCommandString(-1), "UNKNOWN");
  EXPECT_STREQ(net.GetCommandString(15), "UNKNOWN");

  WarningRecorder recorder;
  ScratchFile globals("GLOBAL-LEARN-RATE : 0.25\nGLOBAL-MOMENTUM : 5\nLAYER : 0\n");
  NxFile file(globals.Name(), "rt", true);
  net.ReadGlobalValues(file);
  EXPECT_DOUBLE_EQ(net.GetGlobalLearnRate(), 0.25);
  EXPECT_DOUBLE_EQ(net.GetGlobalMomentum(), 0.9);
  ASSERT_EQ(WarningRecorder::Shown().size(), 1u);
  EXPECT_EQ(WarningRecorder::Shown()[0].text,
            "GLOBAL-MOMENTUM : 5\n specification is not in the allowed range 0 - 2.000000.  Command Ignored.");
  ScratchFile empty("");
  NxFile emptyFile(empty.Name(), "rt", true);
  EXPECT_THROW(net.ReadGlobalValues(emptyFile), XCMessage);
}

TEST(SpecFile, RandomBytesNeverCrash) {
  WarningRecorder recorder;
  std::mt19937 random(5);
  const char* words[] = {"LAYER : ", "NODES : ", "TARGET : ", "X-DIMENSION : ", "PATTERN-X-DIMENSION : ",
                         "X-OVERLAP : ", "NODETYPE : ", "\n", "-", "1", "0", "3", "\x01"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int i = 0; i < 60; ++i)
      text += round % 2 ? std::string(1, char(random())) : std::string(words[random() % 13]);
    ScratchFile file(text);
    try {
      NxNeuralNet net(file.Name());
    } catch (const std::exception&) {
    }
  }
}
