#include "store/resume_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <sstream>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "player/scripted_player.h"
#include "store/preferences.h"
#include "store/resume_availability.h"
#include "store/resume_image.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"
#include "test_files.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace {

std::string CorruptedMessage(const std::string& path) {
  return "Corrupted file " + path + ". Beginning new game. The damaged file has been kept as " + path + ".damaged.";
}

// A headless table with the score sheet and the parts saving works on.
struct SavingTable {
  explicit SavingTable(int32_t seed = 4242) : Table(0, STANDARD_GIN, false, seed) {}
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, STANDARD_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

void Step(SavingTable& t) { StepHeadlessGame(t.Table.Flow, *t.Table.Computer); }

std::string Piles(const NxDeck& deck) {
  std::ostringstream text;
  for (uint32_t pile = 0; pile < 4; ++pile) {
    for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i)
      text << deck.CardIndexAt(pile, i) << (deck.Pile(pile).Cards[i]->IsFaceUp() ? "u " : "d ");
    text << "| ";
  }
  return text.str();
}

// The course of the game from here until the next deal.
std::string Continuation(SavingTable& t, int steps) {
  std::ostringstream trace;
  for (int i = 0; i < steps; ++i) {
    const ComputerPlay& c = *t.Table.Computer;
    trace << t.Table.State().Play << " " << Piles(t.Table.Deck) << c.GetOwnPasses() << "/" << c.GetReplayPosition()
          << "/" << c.GetHumanPasses() << " " << t.Table.Record.NumScores << "\n";
    if (t.Table.State().Play == Learning && c.GetHumanPasses() == 4) break;
    Step(t);
  }
  return trace.str();
}

std::string Category(const GameState& s) {
  if (s.Play == HumanDiscard) return s.UpcardTaken != NoCard ? "discard after upcard" : "discard after stock";
  return std::to_string(s.Play);
}

struct ResumeFixture : ::testing::Test {
  ScratchInstallation Install;
  std::string Path = Install.PlayerPath(RESUME_FILE);

  // Writes the game of `from` and reads it into a fresh table.
  std::unique_ptr<SavingTable> Resumed(SavingTable& from) {
    uint32_t stamp = 0;
    from.Table.Computer->SaveNets(from.Table.Computer->Level());
    EXPECT_TRUE(WriteResume(Path, from.Parts, stamp));
    EXPECT_EQ(stamp, RESUME_FORMAT_STAMP);
    auto to = std::make_unique<SavingTable>(99);
    EXPECT_EQ(ReadResume(Path, to->Parts, false).Outcome, ResumeOutcome::RESTORED);
    EXPECT_TRUE(to->Table.State().ResumePending);
    to->Table.Flow.NewGame(false, false);
    EXPECT_FALSE(to->Table.State().ResumePending);
    return to;
  }

  std::vector<uint8_t> MidGameBytes() {
    SavingTable t;
    t.Table.Flow.NewGame(false, false);
    for (int i = 0; i < 9; ++i) Step(t);
    return ResumeBytes(t.Parts);
  }
};

}  // namespace

TEST_F(ResumeFixture, EveryPlayStateContinuesIdentically) {
  SavingTable original;
  original.Table.Flow.NewGame(false, false);
  std::set<std::string> covered;
  for (int step = 0; step < 3000 && covered.size() < 7; ++step, Step(original)) {
    const std::string category = Category(original.Table.State());
    if (!covered.insert(category).second) continue;
    SCOPED_TRACE(category);
    auto resumed = Resumed(original);
    EXPECT_EQ(ResumeBytes(resumed->Parts), ResumeBytes(original.Parts));
    if (category == "discard after upcard") {
      // The card just taken from the discard pile still may not be thrown.
      const NxDeck& deck = resumed->Table.Deck;
      const std::optional<uint32_t> at = deck.PositionOf(HUMAN_PILE, resumed->Table.State().UpcardTaken);
      ASSERT_TRUE(at);
      EXPECT_FALSE(resumed->Table.Flow.Discard(*at));
      EXPECT_EQ(resumed->Table.View.Messages.back().TextId, ILLEGAL_DISCARD);
    }
    if (category == std::to_string(HandEnded)) {
      auto announced = Resumed(original);
      announced->Table.Flow.IdleStep();
      EXPECT_EQ(announced->Table.State().Play, Learning);
      const std::vector<uint32_t>& statuses = announced->Table.View.Statuses;
      EXPECT_TRUE(std::count_if(statuses.begin(), statuses.end(),
                                [](uint32_t id) { return id >= YOU_WIN_HAND && id <= YOU_ARE_UNDERCUT; }));
    }
    const std::string expected = Continuation(original, 400);
    EXPECT_EQ(Continuation(*resumed, 400), expected);
    EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 1);
  }
  EXPECT_EQ(covered.size(), 7u);
}

TEST_F(ResumeFixture, ACutOrDamagedFileIsCorruptedAndNeverTouchesTheTable) {
  const std::vector<uint8_t> good = MidGameBytes();
  ASSERT_EQ(CheckResumeBytes(good), "");
  for (size_t length = 0; length < good.size(); ++length)
    ASSERT_NE(CheckResumeBytes(std::vector<uint8_t>(good.begin(), good.begin() + length)), "") << length;

  SavingTable table;
  table.Table.Flow.NewGame(false, false);
  const std::vector<uint8_t> before = ResumeBytes(table.Parts);
  std::mt19937 random(7);
  int restored = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<uint8_t> bytes = good;
    if (trial % 4 == 0) bytes.resize(random() % bytes.size());
    for (int flips = 1 + trial % 3; flips > 0; --flips) {
      if (bytes.empty()) break;
      bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255);
    }
    WriteText(Path, std::string(bytes.begin(), bytes.end()));
    SavingTable target;
    target.Table.Flow.NewGame(false, false);
    const std::vector<uint8_t> untouched = ResumeBytes(target.Parts);
    ResumeResult result = ReadResume(Path, target.Parts, true);
    if (result.Outcome == ResumeOutcome::RESTORED) {
      ++restored;
      EXPECT_EQ(CheckRestoredTable(target.Table.State(), target.Table.Deck), "");
      continue;
    }
    ASSERT_EQ(result.Outcome, ResumeOutcome::CORRUPTED);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(ResumeBytes(target.Parts), untouched);
    EXPECT_EQ(target.Table.View.Messages.back().Text, CorruptedMessage(Path));
    EXPECT_EQ(target.Table.View.Messages.back().Caption, RESUME_ERROR_CAPTION);
    // The file as it was, out of the new game's way.
    EXPECT_EQ(ReadAll(Path + ".damaged"), bytes);
    EXPECT_FALSE(std::filesystem::exists(Path));
  }
  EXPECT_LT(restored, 400);
  EXPECT_EQ(ResumeBytes(table.Parts), before);
}

TEST_F(ResumeFixture, ChecksAcrossThePartsCatchWhatEachPartAllows) {
  SavingTable t;
  t.Table.Flow.NewGame(false, false);
  ASSERT_EQ(t.Table.Deck.CardsInPile(HUMAN_PILE), 10u);
  // A human discard turn with ten cards is not a game that can go on.
  const PlayState dealt = t.Table.State().Play;
  TableScenario::State(t.Table).Play = HumanDiscard;
  EXPECT_EQ(CheckResumeBytes(ResumeBytes(t.Parts)), "the hand sizes do not fit the play state");
  TableScenario::State(t.Table).Play = dealt;
  TableScenario::State(t.Table).KnockLimit = 11;
  EXPECT_EQ(CheckResumeBytes(ResumeBytes(t.Parts)), "knock limit out of range");
  TableScenario::State(t.Table).KnockLimit = 10;
  TableScenario::State(t.Table).LaidOff.Count = 2;
  TableScenario::State(t.Table).LaidOff.Cards[0] = TableScenario::State(t.Table).LaidOff.Cards[1] = 5;
  EXPECT_EQ(CheckResumeBytes(ResumeBytes(t.Parts)), "a card laid off twice");
  TableScenario::State(t.Table).LaidOff.Clear();
  std::vector<uint8_t> bytes = ResumeBytes(t.Parts);
  bytes.push_back(0);
  EXPECT_NE(CheckResumeBytes(bytes), "");
  bytes.pop_back();

  // Card geometry near the end of the integer range: refused, not overflowed.
  const std::string name = "NxCard";
  auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) - bytes.begin();
  const size_t x = static_cast<size_t>(at) + name.size() + 28;
  for (uint32_t value : {0x7FFFFFF0u, 0x80000005u, 0x200000u}) {
    for (int b = 0; b < 4; ++b) bytes[x + b] = static_cast<uint8_t>(value >> (8 * b));
    EXPECT_NE(CheckResumeBytes(bytes), "") << value;
  }
}

TEST_F(ResumeFixture, AHandResultOrOutcomeTheGameCannotProduceIsCorrupted) {
  const std::vector<uint8_t> good = MidGameBytes();
  ASSERT_EQ(CheckResumeBytes(good), "");
  constexpr size_t DIFFERENCE = 29, POINTS = 33, HUMAN_OUTCOME = 53, COMPUTER_OUTCOME = 61, STATUS = 85;
  auto putWord = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto putDouble = [](std::vector<uint8_t>& b, size_t at, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(bits >> (8 * i));
  };
  std::vector<std::vector<uint8_t>> damaged;
  for (uint32_t v : {0x80000000u, 0xFFFFFFFFu, uint32_t(MAX_DEADWOOD + 1)}) {
    damaged.push_back(good);
    putWord(damaged.back(), DIFFERENCE, v);
  }
  for (uint32_t v : {0x80000000u, 0xFFFFFFFFu, uint32_t(MAX_HAND_POINTS + 1)}) {
    damaged.push_back(good);
    putWord(damaged.back(), POINTS, v);
  }
  for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e-9, 1.5}) {
    for (size_t at : {HUMAN_OUTCOME, COMPUTER_OUTCOME}) {
      damaged.push_back(good);
      putDouble(damaged.back(), at, v);
    }
  }
  for (uint32_t v : {0u, 7999u, 8016u, 9033u}) {
    damaged.push_back(good);
    putWord(damaged.back(), STATUS, v);
  }
  for (size_t i = 0; i < damaged.size(); ++i) {
    EXPECT_NE(CheckResumeBytes(damaged[i]), "") << i;
    WriteText(Path, std::string(damaged[i].begin(), damaged[i].end()));
    SavingTable target;
    EXPECT_EQ(ReadResume(Path, target.Parts, false).Outcome, ResumeOutcome::CORRUPTED) << i;
    EXPECT_EQ(target.Table.View.Messages.back().Text, CorruptedMessage(Path));
  }
  // The largest results the scoring gives still read.
  std::vector<uint8_t> largest = good;
  putWord(largest, DIFFERENCE, MAX_DEADWOOD);
  putWord(largest, POINTS, MAX_HAND_POINTS);
  putDouble(largest, HUMAN_OUTCOME, 0.1);
  putDouble(largest, COMPUTER_OUTCOME, 0.9);
  EXPECT_EQ(CheckResumeBytes(largest), "");
}

TEST_F(ResumeFixture, AScoreRowGainingMoreThanOneHandCanGiveIsCorrupted) {
  SavingTable t;
  t.Table.Flow.NewGame(false, false);
  t.Table.Record.RecordHand(1, MAX_HAND_POINTS);
  TableScenario::State(t.Table).Points = MAX_HAND_POINTS;
  ASSERT_EQ(CheckResumeBytes(ResumeBytes(t.Parts)), "");
  t.Table.Record.Records[0].Computer = MAX_HAND_POINTS + 1;
  EXPECT_EQ(CheckResumeBytes(ResumeBytes(t.Parts)), "score record rows out of step");
}

// A FIFO, a directory or a device in the file's place is a file that
// cannot be opened: never waited on, never read.
TEST_F(ResumeFixture, AMissingFileKeepsTheTableAndCountsAsSuccess) {
  SavingTable t;
  t.Table.Flow.NewGame(false, false);
  const std::vector<uint8_t> before = ResumeBytes(t.Parts);
  ResumeResult result = ReadResume(Install.PlayerPath("NOFILE.QLF"), t.Parts, false);
  EXPECT_EQ(result.Outcome, ResumeOutcome::NOT_OPENED);
  EXPECT_TRUE(result.Succeeded());
  EXPECT_FALSE(t.Table.State().ResumePending);
  EXPECT_EQ(ResumeBytes(t.Parts), before);
  ASSERT_EQ(t.Table.View.Messages.size(), 1u);
  EXPECT_EQ(t.Table.View.Messages[0].Text,
            "Unable to open file " + Install.PlayerPath("NOFILE.QLF") + ". Beginning new game.");
  EXPECT_EQ(t.Table.View.Messages[0].Icon, ICON_EXCLAMATION);

  // Whatever else stands at the name is refused at once, the table untouched.
  BlockingGuard guard;
  for (BadFile kind : BAD_FILES) {
    SCOPED_TRACE(Describe(kind));
    const std::string path = Install.PlayerPath("BAD" + std::to_string(static_cast<int>(kind)) + ".QLF");
    PlantBadFile(kind, path, MAX_RESUME_BYTES);
    const bool opens = kind == BadFile::OVERSIZED;
    EXPECT_EQ(ReadResume(path, t.Parts, false).Outcome, opens ? ResumeOutcome::CORRUPTED : ResumeOutcome::NOT_OPENED);
    EXPECT_EQ(t.Table.View.Messages.back().Text,
              opens ? CorruptedMessage(path) : "Unable to open file " + path + ". Beginning new game.");
    EXPECT_EQ(ResumeBytes(t.Parts), before);
  }
}

TEST_F(ResumeFixture, ASheetShownWhenSavedIsShownWhenPlayStarts) {
  SavingTable t;
  t.Table.Flow.NewGame(false, false);
  TableScenario::State(t.Table).ScoreSheetShown = true;
  TableScenario::State(t.Table).Watching = true;
  uint32_t stamp = 0;
  ASSERT_TRUE(WriteResume(Path, t.Parts, stamp));
  SavingTable before;
  ASSERT_TRUE(ReadResume(Path, before.Parts, false).Succeeded());
  EXPECT_EQ(before.Table.View.ScoreSheetShows, 0u);
  before.Table.Flow.NewGame(false, false);
  EXPECT_EQ(before.Table.View.ScoreSheetShows, 1u);
  EXPECT_TRUE(before.Table.Record.Watched);

  SavingTable running;
  running.Table.Flow.NewGame(false, false);
  ASSERT_TRUE(ReadResume(Path, running.Parts, true).Succeeded());
  EXPECT_TRUE(running.Table.State().AbortPending);
  EXPECT_EQ(running.Table.View.ScoreSheetShows, 1u);
}
