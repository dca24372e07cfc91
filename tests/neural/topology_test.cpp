#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "neural/exceptions.h"
#include "net_fixture.h"
#include "test_support.h"

TEST(ConfigData, StartsEmptyAndCopiesDeeply) {
  NxNeuralBase::ConfigData config;
  for (unsigned layer = 0; layer < 16; ++layer) EXPECT_FALSE(config.HasLayer(layer));
  EXPECT_EQ(config.GetMapping(0, 1), nullptr);

  config.AddLayer(0, {2, 3}, SIGMOID);
  config.AddMapping(0, 1, {2, 3}, {1, 0}, {0, 0}, 1);
  NxNeuralBase::ConfigData copy(config);
  copy.RemoveMapping(0, 1);
  copy.RemoveLayer(0);
  ASSERT_NE(config.GetMapping(0, 1), nullptr);
  EXPECT_EQ(config.GetMapping(0, 1)->GetNumElements(), 6u);
  EXPECT_EQ(config.GetMapping(0, 1)->GetSkipValidation(), 1u);
  EXPECT_TRUE(config.HasLayer(0));
  EXPECT_EQ(copy.GetLayerSize(0).cy, 3);  // removing a layer keeps its size
}

TEST(NetworkConstruction, TwoLayerNetworkCountsInputsAndOutputs) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({3, 2}, {2, 1}), 0.5));
  EXPECT_EQ(net->GetNumInputs(), 6u);
  EXPECT_EQ(net->GetNumOutputs(), 2u);
  EXPECT_EQ(net->GetWeightSetId(), 1u);
  EXPECT_EQ(net->GetTrainingStatus(), 0u);
  EXPECT_EQ(net->GetLayer(1)->GetNodeAt(1)->GetNumSources(), 6u);
  DeleteNet(nullptr);
}

TEST(NetworkConstruction, MissingInputOrOutputLayerThrowsWithText) {
  NxNeuralBase::ConfigData noOutput;
  noOutput.AddLayer(0, {2, 1}, SIGMOID);
  try {
    CreateTempDiffNet(noOutput, 0.7);
    FAIL();
  } catch (const XCNoOutputLayer& e) {
    EXPECT_EQ(e.GetMessage(), "Network is missing output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  }
  NxNeuralBase::ConfigData noInput;
  noInput.AddLayer(1, {1, 1}, SIGMOID);
  try {
    CreateTempDiffNet(noInput, 0.7);
    FAIL();
  } catch (const XCNoInputLayer& e) {
    EXPECT_EQ(e.GetMessage(), "Network is missing input layer.\n\t\t\t\nInput layer must be LAYER 0.");
    EXPECT_EQ(e.GetPlainMessage(), "Network is missing input layer. Input layer must be LAYER 0.");
  }
}

// A message on one line keeps every word in order, a run of plain spaces as
// it stands ("ignored.  Layer"), and nothing of the dialog layout or of the
// blanks around the whole.
TEST(NetworkConstruction, PlainMessagesKeepTheirWordsOnOneLine) {
  EXPECT_EQ(PlainMessage("LAYER 3 has no sources.  Layer wili be ignored."),
            "LAYER 3 has no sources.  Layer wili be ignored.");
  std::mt19937 random(41);
  const std::string alphabet = "ab  \t\n\r";
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int n = random() % 12; n > 0; --n) text += alphabet[random() % alphabet.size()];
    const std::string plain = PlainMessage(text);
    auto words = [](const std::string& s) {
      std::vector<std::string> found;
      std::istringstream in(s);
      for (std::string word; in >> word;) found.push_back(word);
      return found;
    };
    ASSERT_EQ(words(plain), words(text)) << testing::PrintToString(text);
    ASSERT_EQ(plain.find_first_of("\t\r\n"), std::string::npos) << testing::PrintToString(text);
    if (!plain.empty()) {
      ASSERT_TRUE(plain.front() != ' ' && plain.back() != ' ') << testing::PrintToString(text);
    }
    if (text.find_first_of("\t\r\n") == std::string::npos) {
      ASSERT_NE(text.find(plain), std::string::npos) << testing::PrintToString(text);
    }
  }
}

TEST(NetworkConstruction, InvalidConnectionsAreDroppedWithWarnings) {
  WarningLog warnings;
  NxNeuralBase::ConfigData config = TwoLayerConfig({2, 1}, {1, 1});
  config.AddMapping(2, 0, {1, 1}, {0, 0}, {0, 0}, 0);  // into the input layer
  config.AddLayer(3, {1, 1}, SIGMOID);
  config.AddMapping(1, 3, {1, 1}, {0, 0}, {0, 0}, 0);  // out of the output layer
  config.AddLayer(4, {1, 1}, SIGMOID);                 // no sources
  config.AddMapping(0, 6, {1, 1}, {0, 0}, {0, 0}, 0);  // into an undeclared layer
  NetPtr net(CreateTempDiffNet(config, 0.7));
  ASSERT_EQ(warnings.texts().size(), 5u);
  EXPECT_EQ(warnings.titles()[0], "Neural Network Warning");
  EXPECT_EQ(warnings.texts()[0], "LAYER 2 has input LAYER 0 as a target.\n\t\t\t\t\nConnection will be ignored.");
  EXPECT_EQ(warnings.texts()[1], "Output LAYER 1 has LAYER 3 as a target.\n\t\t\t\t\nConnection will be ignored.");
  EXPECT_EQ(warnings.texts()[2], "LAYER 3 has no sources.  Layer wili be ignored.");
  EXPECT_EQ(warnings.texts()[3], "LAYER 4 has no sources.  Layer wili be ignored.");
  EXPECT_EQ(warnings.texts()[4],
            "Source LAYER 0 specifies undeclared target\n\t\t\t\t\nLAYER 6.  Specification will be ignored.");
  EXPECT_EQ(std::string(net->GetWarningText()), warnings.texts()[4]);
  EXPECT_EQ(net->GetLayer(3), nullptr);
  EXPECT_EQ(net->GetLayer(4), nullptr);
}

TEST(NetworkConstruction, LayersAreCreatedWhenTheirSourcesExist) {
  // Layer 3 is fed by layer 5, which is fed by the input: 5 comes first, and
  // layer 1 lists its sources in creation order.
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {2, 1}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddLayer(3, {1, 1}, SIGMOID);
  config.AddLayer(5, {2, 1}, SIGMOID);
  config.AddMapping(0, 5, {1, 1}, {1, 0}, {0, 0}, 0);
  config.AddMapping(5, 3, {2, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(3, 1, {1, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(5, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  NetPtr net(CreateTempDiffNet(config, 0.7));
  const NxBaseLayer::SourceData& sources = net->GetLayer(1)->GetSources();
  ASSERT_EQ(sources.NumSources, 2u);
  EXPECT_EQ(sources.SourceLayers[0]->GetLayerNumber(), 5u);
  EXPECT_EQ(sources.SourceLayers[1]->GetLayerNumber(), 3u);
  NxNode* out = net->GetLayer(1)->GetNodeAt(0);
  EXPECT_EQ(out->GetSource(0), net->GetLayer(5)->GetNodeAt(0));
  EXPECT_EQ(out->GetSource(2), net->GetLayer(3)->GetNodeAt(0));
}

TEST(NetworkConstruction, CyclicHiddenLayersAreRejected) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {1, 1}, SIGMOID);
  config.AddLayer(1, {1, 1}, SIGMOID);
  config.AddLayer(2, {1, 1}, SIGMOID);
  config.AddLayer(3, {1, 1}, SIGMOID);
  config.AddMapping(0, 2, {1, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(3, 2, {1, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(2, 3, {1, 1}, {0, 0}, {0, 0}, 0);
  config.AddMapping(3, 1, {1, 1}, {0, 0}, {0, 0}, 0);
  try {
    CreateTempDiffNet(config, 0.7);
    FAIL();
  } catch (const XCLayerCycle& e) {
    EXPECT_NE(e.GetMessage().find("LAYER 1, 2, 3"), std::string::npos) << e.GetMessage();
  }
}

TEST(NetworkConstruction, BothFactoriesRefuseNetworksAboveTheSizeLimits) {
  NxNeuralBase::ConfigData wideLayer;
  wideLayer.AddLayer(0, {2, 1}, SIGMOID);
  wideLayer.AddLayer(1, {256, 257}, SIGMOID);
  wideLayer.AddMapping(0, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  NxNeuralBase::ConfigData manyConnections;
  manyConnections.AddLayer(0, {3000, 1}, SIGMOID);
  manyConnections.AddLayer(1, {1500, 1}, SIGMOID);
  manyConnections.AddMapping(0, 1, {3000, 1}, {0, 0}, {0, 0}, 0);
  const std::pair<const NxNeuralBase::ConfigData*, const char*> cases[] = {
      {&wideLayer, "LAYER 1 has 65792 nodes; a layer may hold at most 65536 nodes."},
      {&manyConnections, "LAYER 1 bring the network to 4500000 connections; a network may hold at most 4194304"}};
  for (const auto& [config, text] : cases) {
    for (int kind = 0; kind < 2; ++kind) {
      try {
        NetPtr net(kind == 0 ? CreateBackPropNet(*config) : CreateTempDiffNet(*config, 0.7));
        ADD_FAILURE() << "built";
      } catch (const XCBase& error) {
        EXPECT_NE(error.GetMessage().find(text), std::string::npos) << error.GetMessage();
        EXPECT_NE(dynamic_cast<const XCNetworkTooLarge*>(&error), nullptr);
      }
    }
  }
}

TEST(NetworkConstruction, StandardLearningSetsNoiseByNodeType) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {2, 1}, SIGMOID);
  config.AddLayer(2, {2, 1}, BINARY);
  config.AddLayer(1, {1, 1}, MAJORITY);
  config.AddMapping(0, 2, {1, 1}, {1, 0}, {0, 0}, 0);
  config.AddMapping(2, 1, {2, 1}, {0, 0}, {0, 0}, 0);
  NetPtr net(CreateTempDiffNet(config, 0.7));
  EXPECT_EQ(net->GetLayer(2)->GetNodeAt(0)->GetNoiseFP(), ToFixed(0.4));
  EXPECT_EQ(net->GetLayer(1)->GetNodeAt(0)->GetNoiseFP(), ToFixed(0.4));
  NetPtr smooth(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}, PEAKED), 0.7));
  EXPECT_EQ(smooth->GetLayer(1)->GetNodeAt(0)->GetNoiseFP(), ToFixed(0.001));
}

TEST(NetworkConstruction, LogicNodesRefuseSmoothSources) {
  try {
    CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}, OR), 0.7);
    FAIL();
  } catch (const XCNodeSourceType& e) {
    EXPECT_EQ(e.GetMessage(), "Nodes of type OR cannot have source \tnodes of type SIGMOID");
  }
}

TEST(Geometry, FieldPastTheSourceThrowsUnlessValidationIsSkipped) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, {4, 1}, SIGMOID);
  config.AddLayer(1, {3, 1}, SIGMOID);
  config.AddMapping(0, 1, {2, 1}, {1, 0}, {0, 0}, 0);
  EXPECT_NO_THROW(NetPtr(CreateTempDiffNet(config, 0.7)));
  config.AddLayer(1, {4, 1}, SIGMOID);  // the last field would end past the source
  try {
    CreateTempDiffNet(config, 0.7);
    FAIL();
  } catch (const XCLayerMismap& e) {
    EXPECT_EQ(e.GetMessage(), "Incompatible mapping of source layer 0 to target layer 1 in dimensionX");
  }
  config.AddMapping(0, 1, {2, 1}, {1, 0}, {0, 0}, 1);
  NetPtr skipped(CreateTempDiffNet(config, 0.7));
  EXPECT_EQ(skipped->GetLayer(1)->GetNodeAt(3)->GetNumSources(), 1u);  // the border node sees less
  config.AddMapping(0, 1, {1, 1}, {1, 0}, {0, -1}, 0);
  EXPECT_THROW(CreateTempDiffNet(config, 0.7), XCLayerOffset);
}
