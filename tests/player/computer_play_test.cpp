#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/object_stream.h"
#include "neural/net.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace {

constexpr uint32_t FEATURES[] = {13, 27, 41, 55};

// Deals a traditional Standard hand that the human begins.
void DealHumanFirst(HeadlessTable& table) {
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
}

}  // namespace

TEST(PositionEncoding, CardCellsSkipTheFeatureColumn) {
  EXPECT_EQ(ComputerPlay::CellOf(51), 54u);
  EXPECT_EQ(ComputerPlay::CellOf(13), 14u);
  EXPECT_EQ(ComputerPlay::CellOf(0), 0u);
  for (uint32_t card = 0; card < 52; ++card)
    for (uint32_t f : FEATURES) EXPECT_NE(ComputerPlay::CellOf(card), f);
}

TEST(PositionEncoding, StartHandNotesOwnCardsTheUpcardAndFeatures) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  const ComputerPlay::Vector& view = table.Computer->GetComputerView();
  int32_t points = 0;
  for (uint32_t i = 0; i < 10; ++i) {
    uint32_t card = table.Deck.CardIndexAt(COMPUTER_PILE, i);
    EXPECT_EQ(view[ComputerPlay::CellOf(card)], 0.9);
    points += CardPoints[RankOf(card)];
  }
  uint32_t upcard = table.Deck.CardIndexAt(DISCARD_PILE, 0);
  EXPECT_EQ(view[ComputerPlay::CellOf(upcard)], -0.2);
  EXPECT_EQ(view[13], 0.1);
  EXPECT_EQ(view[27], 0.1);
  EXPECT_DOUBLE_EQ(view[41], 0.9);  // Standard: knock limit 10
  EXPECT_DOUBLE_EQ(view[55], points * 0.8 / 110 + 0.1);
  EXPECT_EQ(table.Computer->GetObservationCount(), 1u);
  EXPECT_EQ(table.Computer->GetRoundCount(), 0u);
}

TEST(PositionEncoding, HumanViewAtTheEndOfAHand) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  ComputerPlay& cp = *table.Computer;
  uint32_t upcard = table.Deck.CardIndexAt(DISCARD_PILE, 0);
  cp.CountRound();
  cp.CountRound();
  cp.BuildHumanView(1, 0);  // the computer won a hand the human dealt
  const ComputerPlay::Vector& human = cp.GetHumanView();
  EXPECT_EQ(human[ComputerPlay::CellOf(upcard)], -0.2);
  for (uint32_t i = 0; i < 10; ++i) {
    EXPECT_EQ(human[ComputerPlay::CellOf(table.Deck.CardIndexAt(HUMAN_PILE, i))], 0.9);
    EXPECT_EQ(human[ComputerPlay::CellOf(table.Deck.CardIndexAt(COMPUTER_PILE, i))], 0.0);
  }
  EXPECT_DOUBLE_EQ(human[13], 1 / 30.0 + 0.1);  // one round fewer
  EXPECT_EQ(human[27], 0.1);
  EXPECT_EQ(cp.GetRoundCount(), 2u);
}

TEST(PositionEncoding, FourRotationsRestoreTheVectorAndFeaturesStay) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  ComputerPlay& cp = *table.Computer;
  cp.BuildHumanView(0, 1);
  ComputerPlay::Vector before = cp.GetHumanView();
  cp.RotateSuits(false);
  ComputerPlay::Vector once = cp.GetHumanView();
  for (uint32_t rank = 0; rank < 13; ++rank) EXPECT_EQ(once[rank], before[14 + rank]);
  for (uint32_t rank = 0; rank < 13; ++rank) EXPECT_EQ(once[3 * 14 + rank], before[rank]);
  for (uint32_t f : FEATURES) EXPECT_EQ(once[f], before[f]);
  cp.RotateSuits(false);
  cp.RotateSuits(false);
  cp.RotateSuits(false);
  EXPECT_EQ(cp.GetHumanView(), before);
}

TEST(Learning, FiveObservationsTakeTwentyTwoSteps) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  ComputerPlay& cp = *table.Computer;
  for (int i = 0; i < 4; ++i) cp.RecordObservation();
  ASSERT_EQ(cp.GetObservationCount(), 5u);
  cp.HandOutcome(0.6);
  cp.BuildHumanView(1, 1);
  int steps = 0;
  while (cp.LearnStep(Learning, 0.6, 0.4)) ++steps;
  EXPECT_EQ(steps, 22);
  EXPECT_FALSE(cp.LearnStep(Learning, 0.6, 0.4));
  EXPECT_FALSE(cp.LearnStep(HumanTake, 0.6, 0.4));
  EXPECT_EQ(cp.GetOwnPasses(), 4u);
  EXPECT_EQ(cp.GetHumanPasses(), 4u);
}

TEST(Learning, OnlyThirtyTwoObservationsAreKept) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  for (int i = 0; i < 40; ++i) table.Computer->RecordObservation();
  EXPECT_EQ(table.Computer->GetObservationCount(), 32u);
}

TEST(ComputerPlayDeathTest, UnknownNetworkChoiceStops) {
  ScratchInstallation install;
  HeadlessTable table;
  EXPECT_DEATH(table.Computer->SelectNet(2), "choice == HIGH_NET \\|\\| choice == LOW_NET");
}

TEST(MoveSelection, DecisionsAreRepeatableAndTrialsAreUndone) {
  for (uint32_t level = 0; level < 4; ++level) {
    ScratchInstallation install;
    HeadlessTable table(level);
    DealHumanFirst(table);
    ComputerPlay& cp = *table.Computer;
    ComputerPlay::Vector before = cp.GetComputerView();
    bool first = cp.WantsUpcard(1);
    uint32_t plan = cp.GetPlannedDiscard();
    ComputerPlay::Vector after = cp.GetComputerView();
    uint32_t upcard = table.Deck.CardIndexAt(DISCARD_PILE, 0);
    for (uint32_t i = 0; i < 56; ++i) {
      if (i == 13 || i == 27 || i == 55) continue;
      if (first && i == ComputerPlay::CellOf(upcard)) continue;
      EXPECT_EQ(after[i], before[i]) << "level " << level << " cell " << i;
    }
    // The same position gives the same decision.
    cp.MutableComputerView() = before;
    EXPECT_EQ(cp.WantsUpcard(1), first);
    EXPECT_EQ(cp.GetPlannedDiscard(), plan);
  }
}

TEST(MoveSelection, TopLevelTakesACardThatBringsAKnock) {
  // Level 3 rates candidates inside the knock limit by deadwood alone.
  ScratchInstallation install;
  HeadlessTable table(3);
  ComputerPlay& cp = *table.Computer;
  uint32_t listA[10], listB[10];
  std::fill(listA, listA + 10, NoCard);
  std::fill(listB, listB + 10, NoCard);
  TableScenario::State(table).KnockLimit = 10;
  ComputerPlay::BestCandidate best{0.4, 11};
  EXPECT_TRUE(cp.RateCandidate({0.1, 8, MakeCard(0, 12), MakeCard(1, 3), true, true, listA, listB}, best, 10));
  EXPECT_DOUBLE_EQ(best.Value, 0.4 + 10 / 499.0 + 0.008);
  EXPECT_EQ(best.Deadwood, 8);
  EXPECT_FALSE(cp.RateCandidate({0.9, 8, MakeCard(0, 12), MakeCard(1, 4), false, true, listA, listB}, best, 10));
  EXPECT_TRUE(cp.RateCandidate({0.0, 5, MakeCard(0, 12), MakeCard(1, 4), false, true, listA, listB}, best, 10));
  EXPECT_EQ(best.Deadwood, 5);
}

TEST(MoveSelection, LowerLevelsKeepTheEarlierOfEqualCandidates) {
  ScratchInstallation install;
  HeadlessTable table(1);
  uint32_t list[10];
  std::fill(list, list + 10, NoCard);
  ComputerPlay::BestCandidate best{0.0, 11};
  EXPECT_TRUE(table.Computer->RateCandidate({0.5, 0, 0, 1, true, false, list, list}, best, 10));
  EXPECT_FALSE(table.Computer->RateCandidate({0.5, 0, 0, 2, false, false, list, list}, best, 10));
  EXPECT_TRUE(table.Computer->RateCandidate({0.51, 0, 0, 3, false, false, list, list}, best, 10));
}

TEST(ResumeBlock, RoundTripAndDamagedBlocks) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  ComputerPlay& cp = *table.Computer;
  cp.RecordObservation();
  cp.CountRound();
  NxObjectWriter out;
  cp.Write(out);
  EXPECT_EQ(out.Data().size(), 28u + 448 + 448 + 4 + 2 * 448);

  HeadlessTable other;
  NxObjectReader in(out.Data());
  ASSERT_TRUE(other.Computer->Read(in, 1));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(other.Computer->GetComputerView(), cp.GetComputerView());
  EXPECT_EQ(other.Computer->GetObservationCount(), 2u);
  EXPECT_EQ(other.Computer->GetRoundCount(), 1u);
  EXPECT_FALSE(other.Computer->IsReplayPending());  // replayed at once: the networks exist

  std::vector<uint8_t> tooMany = out.Data();
  tooMany[8] = 33;  // ObservationCount
  std::vector<uint8_t> badChoice = out.Data();
  badChoice[24] = 2;  // NetChoice
  std::vector<uint8_t> cut(out.Data().begin(), out.Data().begin() + 500);
  for (const auto& bytes : {tooMany, badChoice, cut}) {
    HeadlessTable fresh;
    ComputerPlay::Vector view = fresh.Computer->GetComputerView();
    NxObjectReader damaged(bytes);
    EXPECT_FALSE(fresh.Computer->Read(damaged, 1));
    EXPECT_FALSE(damaged.Good());
    EXPECT_EQ(fresh.Computer->GetComputerView(), view);
  }
}

TEST(ResumeBlock, VersionZeroStreamsHoldSixteenBitCounters) {
  ScratchInstallation install;
  HeadlessTable table;
  NxObjectWriter out;
  const uint16_t counters[7] = {3, 4, 0, 0, 0, 0, LOW_NET};
  for (uint16_t c : counters) {
    out.WriteByte(c & 0xFF);
    out.WriteByte(c >> 8);
  }
  for (int i = 0; i < 112; ++i) out.WriteDouble(0.25);
  out.WriteWord(0);
  NxObjectReader in(out.Data());
  ASSERT_TRUE(table.Computer->Read(in, 0));
  EXPECT_EQ(table.Computer->GetPlannedDiscard(), 3u);
  EXPECT_EQ(table.Computer->GetRoundCount(), 4u);
  EXPECT_EQ(table.Computer->GetNetChoice(), uint32_t(LOW_NET));
  EXPECT_EQ(table.Computer->GetCurrentNet(), table.Computer->GetNet(LOW_NET));
}

namespace {

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<uint8_t>(value >> (8 * b));
}

void PutDouble(std::vector<uint8_t>& bytes, size_t at, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int b = 0; b < 8; ++b) bytes[at + b] = static_cast<uint8_t>(bits >> (8 * b));
}

double NetOutput(ComputerPlay& cp) {
  ComputerPlay::Vector probe = cp.GetComputerView();
  return cp.GetCurrentNet()->GetOutput(probe.data(), false, false)[0];
}

}  // namespace

TEST(ResumeBlock, ValuesThePlayCannotProduceAreRefused) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  table.Computer->RecordObservation();
  NxObjectWriter out;
  table.Computer->Write(out);
  const std::vector<uint8_t> good = out.Data();
  constexpr size_t ROUNDS = 4, REPLAY = 20, COMPUTER_VIEW = 28, HUMAN_VIEW = 28 + 448, SLOT_1 = 28 + 896 + 4 + 448;

  // The replay position a next hand leaves behind is read as it was.
  std::vector<uint8_t> staleReplay = good;
  PutWord(staleReplay, REPLAY, 17);
  HeadlessTable reader;
  NxObjectReader in(staleReplay);
  ASSERT_TRUE(reader.Computer->Read(in, 1));
  EXPECT_EQ(reader.Computer->GetReplayPosition(), 17u);

  std::vector<std::vector<uint8_t>> damaged;
  auto add = [&](auto patch) {
    damaged.push_back(good);
    patch(damaged.back());
  };
  add([&](auto& b) { PutWord(b, REPLAY, 33); });
  add([&](auto& b) { PutWord(b, ROUNDS, ComputerPlay::MAX_ROUNDS + 1); });
  for (double bad : {std::nan(""), HUGE_VAL, 1e300, -0.3, 0.95}) {
    add([&](auto& b) { PutDouble(b, COMPUTER_VIEW + 8 * 5, bad); });
    add([&](auto& b) { PutDouble(b, HUMAN_VIEW + 8 * 41, bad); });
    add([&](auto& b) { PutDouble(b, SLOT_1 + 8 * 55, bad); });
  }
  add([&](auto& b) { PutDouble(b, COMPUTER_VIEW + 8 * 13, 1e6); });
  for (size_t i = 0; i < damaged.size(); ++i) {
    HeadlessTable fresh;
    NxObjectReader damagedIn(damaged[i]);
    EXPECT_FALSE(fresh.Computer->Read(damagedIn, 1)) << i;
    EXPECT_NE(damagedIn.ErrorText(), "") << i;
  }
}

TEST(Learning, TargetsOutsideZeroToOneAreNeverTrained) {
  ScratchInstallation install;
  HeadlessTable table;
  DealHumanFirst(table);
  ComputerPlay& cp = *table.Computer;
  const double before = NetOutput(cp);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -0.01, 1.01}) {
    cp.HandOutcome(bad);
    EXPECT_FALSE(cp.LearnStep(Learning, bad, 0.5)) << bad;
  }
  EXPECT_EQ(NetOutput(cp), before);
  // The human's passes come last: reach them with a sound computer outcome.
  while (cp.GetOwnPasses() < 4) ASSERT_TRUE(cp.LearnStep(Learning, 0.5, 0.5));
  const double ownPassesDone = NetOutput(cp);
  EXPECT_FALSE(cp.LearnStep(Learning, 0.5, std::nan("")));
  EXPECT_EQ(cp.GetHumanPasses(), 0u);
  EXPECT_EQ(NetOutput(cp), ownPassesDone);
  EXPECT_TRUE(cp.LearnStep(Learning, 0.5, 0.9));
  EXPECT_NE(NetOutput(cp), ownPassesDone);
}
