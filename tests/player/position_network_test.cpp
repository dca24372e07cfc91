#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "../neural/net_fixture.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "player/position_network.h"
#include "test_files.h"

// The library's behaviour on the computer player's own network shape.
TEST(GameTopology, RunWindowsAtTheBordersOfTheRankNodes) {
  NetPtr net(CreateTempDiffNet(PositionNetworkTopology(), 0.7));
  EXPECT_EQ(net->GetNumInputs(), 56u);
  EXPECT_EQ(net->GetNumOutputs(), 1u);
  NxBaseLayer* ranks = net->GetLayer(3);
  ASSERT_EQ(ranks->GetNumNodes(), 13u);
  // Four cards of the rank, then the run windows that contain it.
  const unsigned expected[13] = {8, 12, 16, 16, 16, 16, 16, 16, 16, 16, 16, 12, 8};
  for (unsigned x = 0; x < 13; ++x) EXPECT_EQ(ranks->GetNodeAt(x)->GetNumSources(), expected[x]) << x;
  EXPECT_EQ(net->GetLayer(2)->GetNodeAt(0)->GetNumSources(), 3u);
  EXPECT_EQ(net->GetLayer(4)->GetNodeAt(5)->GetNumSources(), 4u);
  EXPECT_EQ(net->GetLayer(5)->GetNodeAt(0)->GetNumSources(), 63u);
  EXPECT_EQ(net->GetLayer(1)->GetNodeAt(0)->GetNumSources(), 7u);
  // Rank node 1 sees the aces, twos, ... of column 1 first, then run windows 0 and 1.
  NxNode* rank1 = ranks->GetNodeAt(1);
  NxBaseLayer* input = net->GetLayer(0);
  NxBaseLayer* runs = net->GetLayer(2);
  EXPECT_EQ(rank1->GetSource(0), input->GetNodeAt(1));
  EXPECT_EQ(rank1->GetSource(3), input->GetNodeAt(3 * 14 + 1));
  EXPECT_EQ(rank1->GetSource(4), runs->GetNodeAt(0));
  EXPECT_EQ(rank1->GetSource(5), runs->GetNodeAt(1));
  EXPECT_EQ(rank1->GetSource(6), runs->GetNodeAt(11));
  // The feature nodes see the four cells of column 13.
  EXPECT_EQ(net->GetLayer(4)->GetNodeAt(2)->GetSource(3), input->GetNodeAt(55));
}

TEST(WeightsFile, GameNetworkRecordIs8012BytesAndRoundTrips) {
  NetPtr a(CreateTempDiffNet(PositionNetworkTopology(), 0.7));
  NetPtr b(CreateTempDiffNet(PositionNetworkTopology(), 0.55));
  a->CustomizeInitialWeights(5, 0.3);  // make sure the two differ
  AsTD(a)->SetAutoRates(true, 40);
  std::string name = TempPath("game.wts");
  ASSERT_TRUE(a->WriteWeights(name.c_str(), VERSION_0));
  EXPECT_EQ(ReadAll(name).size(), 8012u);
  ASSERT_NE(AllWeights(*a), AllWeights(*b));
  ASSERT_TRUE(b->ReadWeights(name.c_str()));
  EXPECT_EQ(AllWeights(*a), AllWeights(*b));
  EXPECT_EQ(b->GetWeightSetId(), 1u);
  double inputs[56] = {};
  inputs[3] = 0.9;
  inputs[55] = 0.4;
  EXPECT_EQ(AsTD(a)->GetOutput(inputs, false, false)[0], AsTD(b)->GetOutput(inputs, false, false)[0]);
}

TEST(WeightsFile, SectionsOfALargerFileFollowEachOther) {
  NetPtr low(CreateTempDiffNet(PositionNetworkTopology(), 0.7));
  NetPtr high(CreateTempDiffNet(PositionNetworkTopology(), 0.55));
  std::string name = TempPath("pair.qlf");
  {
    NxFile file(name, "wb", true);
    ASSERT_TRUE(low->WriteWeights(file, VERSION_0));
    ASSERT_TRUE(high->WriteWeights(file, VERSION_0));
    EXPECT_EQ(file.FTell(), 16024);
  }
  NetPtr readHigh(CreateTempDiffNet(PositionNetworkTopology(), 0.55));
  NxFile file(name, "rb", true);
  file.FSeek(8012, 0);
  ASSERT_TRUE(readHigh->ReadWeights(file));
  EXPECT_EQ(AllWeights(*readHigh), AllWeights(*high));
}

TEST(WeightsFile, MismatchedTruncatedOrGarbledStreamsChangeNothing) {
  NetPtr source(CreateTempDiffNet(PositionNetworkTopology(), 0.7));
  std::string name = TempPath("source.wts");
  ASSERT_TRUE(source->WriteWeights(name.c_str(), VERSION_0));
  std::vector<unsigned char> good = ReadAll(name);

  NetPtr target(CreateTempDiffNet(PositionNetworkTopology(), 0.7));
  target->CustomizeInitialWeights(2, 0.5);
  std::vector<FP12_20> original = AllWeights(*target);
  std::string bad = TempPath("bad.wts");

  // Truncated at every record boundary region and inside the last record.
  for (size_t length : {size_t(0), size_t(3), size_t(4), size_t(100), good.size() / 2, good.size() - 1}) {
    WriteAll(bad, std::vector<unsigned char>(good.begin(), good.begin() + length));
    EXPECT_FALSE(target->ReadWeights(bad.c_str())) << length;
    EXPECT_EQ(AllWeights(*target), original) << length;
  }
  // A wrong type, a huge count, a NaN weight.
  std::vector<unsigned char> wrongType = good;
  wrongType[4] = PEAKED;
  std::vector<unsigned char> hugeCount = good;
  hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = 0xFF;
  std::vector<unsigned char> nanWeight = good;
  for (int i = 0; i < 8; ++i) nanWeight[4 + 16 + i] = 0xFF;
  for (const auto& stream : {wrongType, hugeCount, nanWeight}) {
    WriteAll(bad, stream);
    EXPECT_FALSE(target->ReadWeights(bad.c_str()));
    EXPECT_EQ(AllWeights(*target), original);
  }
  // A network with one node more in the output layer.
  NxNeuralBase::ConfigData bigger = PositionNetworkTopology();
  bigger.AddLayer(1, {2, 1}, SIGMOID);
  bigger.AddMapping(5, 1, {7, 1}, {0, 0}, {0, 0}, 0);
  NetPtr other(CreateTempDiffNet(bigger, 0.7));
  ASSERT_TRUE(other->WriteWeights(bad.c_str(), VERSION_0));
  EXPECT_FALSE(target->ReadWeights(bad.c_str()));
  EXPECT_EQ(AllWeights(*target), original);
}

