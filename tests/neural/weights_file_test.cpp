#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "neural/exceptions.h"
#include "neural/file.h"
#include "net_fixture.h"
#include "test_support.h"
#include "test_files.h"

namespace {

void PutU32(std::vector<unsigned char>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutDouble(std::vector<unsigned char>& b, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

}  // namespace

TEST(WeightsFile, SmallNetworkLayoutIs44Bytes) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  net->GetLayer(1)->GetNodeAt(0)->SetWeight(0, ToFixed(-0.75));
  std::string name = TempPath("small.wts");
  ASSERT_TRUE(net->WriteWeights(name.c_str(), VERSION_0));
  std::vector<unsigned char> bytes = ReadAll(name);
  ASSERT_EQ(bytes.size(), 44u);
  std::vector<unsigned char> head;
  PutU32(head, 1);            // identifier for flag 0
  PutU32(head, SIGMOID);      // node type
  PutU32(head, 3);            // two sources and the bias
  PutDouble(head, 0.0);       // automatic rates off
  PutDouble(head, -0.75);     // the first weight, exactly
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
}

TEST(WeightsFile, VersionFlagSelectsTheIdentifier) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  std::vector<unsigned char> stream;
  PutU32(stream, 77);
  for (uint32_t v : {uint32_t(SIGMOID), 3u}) PutU32(stream, v);
  for (double d : {0.0, 0.1, 0.2, 0.3}) PutDouble(stream, d);
  std::string name = TempPath("handmade.wts");
  WriteAll(name, stream);
  ASSERT_TRUE(net->ReadWeights(name.c_str()));
  EXPECT_EQ(net->GetWeightSetId(), 77u);
  EXPECT_EQ(net->GetLayer(1)->GetNodeAt(0)->GetWeight(0), 104857);  // 0.1 truncated
  std::string out = TempPath("flag1.wts");
  ASSERT_TRUE(net->WriteWeights(out.c_str(), VERSION_1));
  EXPECT_EQ(ReadAll(out)[0], 77);
  ASSERT_TRUE(net->WriteWeights(out.c_str(), VERSION_0));
  EXPECT_EQ(ReadAll(out)[0], 1);
}

TEST(WeightsFile, TheWholeFixedPointRangeReadsBackAndNothingBeyondIt) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  net->GetLayer(1)->GetNodeAt(0)->SetWeight(0, INT32_MIN);
  net->GetLayer(1)->GetNodeAt(0)->SetWeight(1, INT32_MAX);
  std::string name = TempPath("extremes.wts");
  ASSERT_TRUE(net->WriteWeights(name.c_str(), VERSION_0));
  NetPtr copy(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  ASSERT_TRUE(copy->ReadWeights(name.c_str()));
  EXPECT_EQ(copy->GetLayer(1)->GetNodeAt(0)->GetWeight(0), INT32_MIN);
  EXPECT_EQ(copy->GetLayer(1)->GetNodeAt(0)->GetWeight(1), INT32_MAX);
  for (double outside : {2048.0, std::nextafter(-2048.0, -3000.0), -1e300, std::nan("")}) {
    std::vector<unsigned char> stream;
    PutU32(stream, 1);
    for (uint32_t v : {uint32_t(SIGMOID), 3u}) PutU32(stream, v);
    for (double d : {0.0, 0.5, outside, 0.25}) PutDouble(stream, d);
    WriteAll(name, stream);
    EXPECT_FALSE(copy->ReadWeights(name.c_str())) << outside;
    EXPECT_EQ(copy->GetLayer(1)->GetNodeAt(0)->GetWeight(0), INT32_MIN);
  }
}

TEST(WeightsFile, UnknownVersionFlagWritesNothing) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  std::string name = TempPath("badflag.wts");
  std::remove(name.c_str());
  EXPECT_FALSE(net->WriteWeights(name.c_str(), static_cast<VERSIONFLAG>(2)));
  EXPECT_FALSE(std::ifstream(name).good());
  NxFile file(name, "wb", true);
  EXPECT_FALSE(net->WriteWeights(file, static_cast<VERSIONFLAG>(-1)));
  EXPECT_EQ(file.FTell(), 0);
}

TEST(WeightsFile, ScaleValueCarriesTheAutomaticRateState) {
  NetPtr a(CreateTempDiffNet(TwoLayerConfig({1, 1}, {1, 1}), 0.7));
  AsTD(a)->SetAutoRates(true, 4);
  double in = 0.5, outcome = 1.0;
  for (int i = 0; i < 5; ++i) {  // one full period and one step into the next
    AsTD(a)->GetOutput(&in, true, true);
    AsTD(a)->TrainOnOutcomes(&outcome);
  }
  std::string name = TempPath("scale.wts");
  ASSERT_TRUE(a->WriteWeights(name.c_str(), VERSION_0));
  NetPtr b(CreateTempDiffNet(TwoLayerConfig({1, 1}, {1, 1}), 0.7));
  AsTD(b)->SetAutoRates(true, 4);
  ASSERT_TRUE(b->ReadWeights(name.c_str()));
  double stored;
  std::vector<unsigned char> bytes = ReadAll(name);
  std::memcpy(&stored, bytes.data() + 12, 8);
  EXPECT_GT(stored, 0.0);
  EXPECT_DOUBLE_EQ(b->GetLayer(1)->GetNodeAt(0)->GetScaleValue(), stored);
}

TEST(WeightsFile, SavingNeverLeavesAHalfWrittenFile) {
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  std::string name = TempPath("keep.wts");
  ASSERT_TRUE(net->WriteWeights(name.c_str(), VERSION_0));
  std::vector<unsigned char> before = ReadAll(name);
  EXPECT_THROW(net->WriteWeights((TempPath("no-such-dir/") + "x.wts").c_str(), VERSION_0), XCFileBad);
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_FALSE(std::ifstream(name + ".new").good());
}

// A refusal names the node and what differs: its weight count, its type,
// or where the file ran out.
TEST(WeightsFile, ARefusalSaysWhichNodeDiffersAndHow) {
  const std::string name = TempPath("shape.wts");
  NetPtr written(CreateBackPropNet(TwoLayerConfig({3, 1}, {2, 1})));
  ASSERT_TRUE(written->WriteWeights(name.c_str(), VERSION_1));
  NetPtr wider(CreateBackPropNet(TwoLayerConfig({4, 1}, {2, 1})));
  EXPECT_FALSE(wider->ReadWeights(name.c_str()));
  EXPECT_STREQ(wider->GetErrorText(), "node 1 of LAYER 1 takes 5 weights with its bias, the file has 4");
  NetPtr linear(CreateBackPropNet(TwoLayerConfig({3, 1}, {2, 1}, LINEAR)));
  EXPECT_FALSE(linear->ReadWeights(name.c_str()));
  EXPECT_STREQ(linear->GetErrorText(), "node 1 of LAYER 1 is LINEAR in the network but SIGMOID in the file");
  std::vector<unsigned char> bytes = ReadAll(name);
  bytes.resize(bytes.size() - 3);
  WriteAll(name, bytes);
  NetPtr same(CreateBackPropNet(TwoLayerConfig({3, 1}, {2, 1})));
  EXPECT_FALSE(same->ReadWeights(name.c_str()));
  EXPECT_STREQ(same->GetErrorText(), "the file ends within node 2 of LAYER 1");
}
