#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <type_traits>

#include "batch_rows.h"
#include "neural/message_error.h"
#include "neural/trainer.h"
#include "test_files.h"

namespace {

std::vector<unsigned> RandomChain(std::mt19937& random) {
  std::uniform_int_distribution<unsigned> width(1, 6);
  std::vector<unsigned> sizes{width(random) + 1};
  for (unsigned hidden = random() % 3; hidden > 0; --hidden) sizes.push_back(width(random));
  sizes.push_back(width(random));
  return sizes;
}

// Inputs over a range of their own each (within 0..1 when unitInputs),
// targets within 0..1.
nx::DataSet RandomData(std::mt19937& random, unsigned inputs, unsigned outputs, size_t count,
                       bool unitInputs = false) {
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<double> low(inputs), span(inputs);
  for (unsigned k = 0; k < inputs; ++k) {
    low[k] = unitInputs ? 0 : -20 + 40 * unit(random);
    span[k] = unitInputs ? 1 : 0.5 + 30 * unit(random);
  }
  nx::DataSet data(inputs, outputs);
  std::vector<double> in(inputs), out(outputs);
  for (size_t i = 0; i < count; ++i) {
    for (unsigned k = 0; k < inputs; ++k) in[k] = low[k] + span[k] * unit(random);
    for (double& t : out) t = unit(random);
    data.Add(in, out);
  }
  return data;
}

double ErrorOf(NxNeuralNet& net, const nx::DataSet& data) {
  double sum = 0;
  for (size_t i = 0; i < data.Size(); ++i) {
    std::span<const double> y = nx::Propagate(net, data.Inputs(i));
    for (size_t k = 0; k < y.size(); ++k) sum += 0.5 * (y[k] - data.Targets(i)[k]) * (y[k] - data.Targets(i)[k]);
  }
  return sum / data.Size();
}

}  // namespace

static_assert(std::is_base_of_v<XCBase, XCMessage> && std::is_base_of_v<XCBase, nx::XCSizeMismatch>,
              "one catch of XCBase takes everything the library throws");

// Any mistake in folding (a sign, the bias, the wrong input's scale) shows as
// a network that answers raw inputs differently from one trained on inputs
// scaled by hand.
TEST(Trainer, TheFoldedScalingAnswersRawInputsAsTrainingOnScaledOnesWould) {
  std::mt19937 random(41);
  for (int round = 0; round < 12; ++round) {
    const std::vector<unsigned> sizes = RandomChain(random);
    const nx::DataSet raw = RandomData(random, sizes.front(), sizes.back(), 5 + random() % 30);
    nx::DataSet scaled(raw.NumInputs(), raw.NumOutputs());
    std::vector<double> low(raw.NumInputs(), INFINITY), high(raw.NumInputs(), -INFINITY);
    for (size_t i = 0; i < raw.Size(); ++i)
      for (unsigned k = 0; k < raw.NumInputs(); ++k) {
        low[k] = std::min(low[k], raw.Inputs(i)[k]);
        high[k] = std::max(high[k], raw.Inputs(i)[k]);
      }
    std::vector<double> in(raw.NumInputs());
    for (size_t i = 0; i < raw.Size(); ++i) {
      for (unsigned k = 0; k < in.size(); ++k) {
        const double scale = 2 / (high[k] - low[k]);
        in[k] = raw.Inputs(i)[k] * scale + (-1 - low[k] * scale);
      }
      scaled.Add(in, raw.Targets(i));
    }
    nx::TrainOptions options;
    options.Method = static_cast<nx::Algorithm>(round % 3);
    options.MaxEpochs = 1 + random() % 20;
    options.Seed = round;
    nx::BackPropNet folded = nx::MakeBackPropNet(sizes, {.Seed = 7u + round});
    nx::BackPropNet byHand = nx::MakeBackPropNet(sizes, {.Seed = 7u + round});
    nx::Train(*folded, raw, options);
    options.ScaleInputs = false;
    nx::Train(*byHand, scaled, options);
    for (size_t i = 0; i < raw.Size(); ++i) {
      const std::vector<double> a(nx::Propagate(*folded, raw.Inputs(i)).begin(),
                                  nx::Propagate(*folded, raw.Inputs(i)).end());
      const std::span<const double> b = nx::Propagate(*byHand, scaled.Inputs(i));
      for (size_t k = 0; k < a.size(); ++k) ASSERT_NEAR(a[k], b[k], 2e-3) << "round " << round << " pattern " << i;
    }
  }
}

// One batch step moves each weight by -rate times the mean gradient (plus the
// decay), and one RPROP step by its first step against the gradient's sign;
// the gradient is measured by moving the weight.
TEST(Trainer, BatchAndRpropStepsFollowTheMeasuredGradient) {
  std::mt19937 random(7);
  const double h = 1.0 / 256;
  for (int round = 0; round < 48; ++round) {
    std::vector<unsigned> sizes = RandomChain(random);
    const nx::DataSet data = RandomData(random, sizes.front(), sizes.back(), 3 + random() % 8, true);
    nx::BackPropNet net = nx::MakeBackPropNet(sizes, {.Seed = 100u + round});
    NxBaseLayer* layer = net->GetLayer(sizes.size() > 2 && round / 2 % 2 ? 2 : 1);
    NxNode* node = layer->GetNodeAt(random() % layer->GetNumNodes());
    // Every fourth round the bias, which decay leaves alone.
    const unsigned index = round % 4 == 3 ? node->GetNumWeights() - 1 : random() % node->GetNumWeights();
    const bool bias = index + 1 == node->GetNumWeights();
    nx::TrainOptions options;
    options.Method = round % 2 == 0 ? nx::Algorithm::Rprop : nx::Algorithm::Batch;
    options.Rate = 1.0;
    options.WeightDecay = round % 3 ? 0.0 : 0.5;
    options.MaxEpochs = 1;
    options.ScaleInputs = false;
    // A large weight, so that with decay its own pull outweighs the error's.
    if (options.WeightDecay > 0) node->SetWeight(index, ToFixed(random() % 2 ? 4.0 : -4.0));
    const FP12_20 start = node->GetWeight(index);
    node->SetWeight(index, start + ToFixed(h));
    const double up = ErrorOf(*net, data);
    node->SetWeight(index, start - ToFixed(h));
    const double down = ErrorOf(*net, data);
    node->SetWeight(index, start);
    const double gradient = (up - down) / (2 * h);

    nx::Train(*net, data, options);
    const double moved = ToDouble(node->GetWeight(index) - start);
    const double decay = bias ? 0 : options.WeightDecay * ToDouble(start);
    if (options.Method == nx::Algorithm::Batch) {
      EXPECT_NEAR(moved, -(gradient + decay), 2e-3 + 0.05 * std::fabs(gradient + decay)) << "round " << round;
    } else if (std::fabs(gradient + decay) > 1e-3) {
      EXPECT_NEAR(moved, gradient + decay > 0 ? -0.01 : 0.01, 1e-5) << "round " << round;
    }
  }
}

TEST(Trainer, EarlyStoppingKeepsTheWeightsOfTheBestValidationError) {
  std::mt19937 random(3);
  for (int round = 0; round < 6; ++round) {
    const std::vector<unsigned> sizes = RandomChain(random);
    const nx::DataSet data = RandomData(random, sizes.front(), sizes.back(), 40);
    nx::BackPropNet net = nx::MakeBackPropNet(sizes, {.Seed = 50u + round});
    double best = INFINITY;
    nx::TrainOptions options;
    options.MaxEpochs = 300;
    options.ValidationShare = 0.3;
    options.Patience = 5;
    options.Seed = round;
    options.Method = static_cast<nx::Algorithm>(round % 3);
    options.ScaleInputs = false;
    options.OnEpoch = [&](const nx::EpochRecord& record) { best = std::min(best, record.ValidationMse); };
    const nx::TrainReport report = nx::Train(*net, data, options);
    EXPECT_EQ(report.TrainingPatterns + report.ValidationPatterns, 40u);
    EXPECT_EQ(report.ValidationPatterns, 12u);
    EXPECT_DOUBLE_EQ(report.ValidationMse, best) << "round " << round;
    if (report.Epochs < options.MaxEpochs) {
      EXPECT_EQ(report.Stop, nx::StopReason::NoImprovement);
    }
  }
}

TEST(Trainer, WrongSizesThrowOneExceptionThatNamesBoth) {
  nx::BackPropNet net = nx::MakeBackPropNet({64, 32, 10});
  const std::vector<double> three(3, 0.0);
  try {
    nx::Propagate(*net, three);
    FAIL() << "three inputs for 64 were taken";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "expected 64 inputs, found 3");
  }
  nx::DataSet small(3, 10);
  EXPECT_THROW(small.Add(three, three), nx::XCSizeMismatch);
  small.Add(three, std::vector<double>(10, 0.0));
  EXPECT_THROW(nx::Train(*net, small), nx::XCSizeMismatch);
  EXPECT_THROW(nx::Evaluate(*net, small), nx::XCSizeMismatch);
  nx::TempDiffNet td = nx::MakeTempDiffNet({4, 3, 1}, 0.7);
  EXPECT_THROW(nx::Observe(*td, three, false, true), nx::XCSizeMismatch);
  EXPECT_THROW(nx::TrainOnOutcomes(*td, three), nx::XCSizeMismatch);
  EXPECT_THROW(nx::MakeBackPropNet({4}), XCBase);
  EXPECT_THROW(nx::Train(*net, nx::DataSet(64, 10)), nx::XCTraining);
}

// What the layer writes both readers read back exactly; a line of another
// width is refused with its number.
TEST(Trainer, PatternFilesRoundTripAndALineOfAnotherWidthIsNamed) {
  std::mt19937 random(11);
  for (int round = 0; round < 8; ++round) {
    const unsigned inputs = 1 + random() % 6, outputs = 1 + random() % 4;
    const nx::DataSet data = RandomData(random, inputs, outputs, 1 + random() % 20);
    const std::string name = TempPath("round.pat");
    data.WritePatternFile(name);
    const nx::DataSet back = nx::DataSet::FromPatternFile(name, inputs, outputs);
    nx::BackPropNet net = nx::MakeBackPropNet({inputs, outputs});
    net->ReadIOPatterns(name.c_str(), 0);
    ASSERT_EQ(back.Size(), data.Size());
    ASSERT_EQ(net->GetNumPatterns(), data.Size());
    for (size_t i = 0; i < data.Size(); ++i) {
      EXPECT_TRUE(std::ranges::equal(back.Row(i), data.Row(i)));
      EXPECT_TRUE(std::ranges::equal(std::span<const double>(net->GetIOPatterns()[i], inputs + outputs), data.Row(i)));
    }
    const size_t line = random() % data.Size();
    std::string text = FileText(name);
    size_t at = 0;
    for (size_t l = 0; l < line; ++l) at = text.find('\n', at) + 1;
    text.erase(text.rfind(' ', text.find('\n', at)), text.find('\n', at) - text.rfind(' ', text.find('\n', at)));
    WriteText(name, text);
    try {
      nx::DataSet::FromPatternFile(name, inputs, outputs);
      FAIL() << "a short line was taken";
    } catch (const XCMessage& error) {
      EXPECT_NE(std::string(error.what()).find("expected " + std::to_string(inputs + outputs) + " values, found " +
                                               std::to_string(inputs + outputs - 1) + ", in line " +
                                               std::to_string(line + 1)),
                std::string::npos)
          << error.what();
    }
  }
}

// A pipe, a device or a link to one is refused at once, not read for ever.
TEST(Trainer, PatternFilesThatAreNoRegularFileAreRefused) {
  BlockingGuard guard;
  const std::string name = TempPath("bad.pat");
  for (BadFile kind : NOT_REGULAR_FILES) {
    PlantBadFile(kind, name);
    EXPECT_THROW(nx::DataSet::FromPatternFile(name, 2, 1), XCFile) << Describe(kind);
  }
}

// The vector sums floor every product exactly as the plain ones do, the
// extremes of the 32-bit range included, whatever the row's length.
TEST(Trainer, VectorGradientSumsEqualThePlainOnes) {
  std::mt19937 random(5);
  const FP12_20 extremes[] = {INT32_MIN, INT32_MAX, -1, 0, 1, FP_ONE, -FP_ONE};
  for (int round = 0; round < 200; ++round) {
    const unsigned count = random() % 40;
    std::vector<FP12_20> x(count);
    for (FP12_20& v : x) v = round % 4 == 0 ? extremes[random() % 7] : static_cast<FP12_20>(random());
    const FP12_20 delta = round % 3 == 0 ? extremes[random() % 7] : static_cast<FP12_20>(random());
    std::vector<int64_t> plain(count, round), fast(count, round);
    nx_batch::AddGradientRow(plain.data(), x.data(), count, delta);
    nx_batch::AddGradientRowFast(fast.data(), x.data(), count, delta);
    ASSERT_EQ(plain, fast) << "round " << round;
  }
}
