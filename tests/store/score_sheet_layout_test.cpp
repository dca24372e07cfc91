#include "store/score_sheet_layout.h"

#include <gtest/gtest.h>

#include "game/rules.h"
#include "store/score_sheet.h"

namespace {

using Texts = std::array<std::string, 2>;

std::vector<Texts> TextsOf(const ScoreSheetLayout& layout) {
  std::vector<Texts> texts;
  for (const SheetLine& line : layout.Lines) texts.push_back(line.Text);
  return texts;
}

void Play(ScoreSheet& sheet, std::initializer_list<std::pair<uint32_t, uint32_t>> hands) {
  sheet.NewGame();
  for (auto [winner, points] : hands) sheet.AddHand(winner, points);
}

}  // namespace

TEST(ScoreSheetLayout, TheExampleGameShowsItsBonusesTotalsAndMargin) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, STANDARD_GIN);
  Play(sheet, {{0, 30}, {1, 12}, {0, 75}});

  ScoreSheetLayout layout = sheet.DrawnLayout();
  ASSERT_TRUE(layout.GameOver);
  EXPECT_EQ(layout.Lines.size(), record.NumLines);
  const std::vector<Texts> expected = {
      {"  30", "   0"}, {"  30", "  12"},      {" 105", "  12"}, {"+100", ""},
      {"+2 (25)", "+1 (25)"}, {" 255", "  37"}, {"- 37", ""},    {" 218", ""},
  };
  EXPECT_EQ(TextsOf(layout), expected);

  // Underlines mark each hand's winner; the end lines underline nothing.
  std::vector<uint32_t> underlined;
  for (const SheetLine& line : layout.Lines) underlined.push_back(line.Underlined);
  EXPECT_EQ(underlined, (std::vector<uint32_t>{HUMAN_COLUMN, COMPUTER_COLUMN, HUMAN_COLUMN, NO_COLUMN, NO_COLUMN,
                                               NO_COLUMN, NO_COLUMN, NO_COLUMN}));
  EXPECT_EQ(layout.Lines[5].Kind, SheetLineKind::TOTALS);
  EXPECT_EQ(layout.Lines[5].RuleAbove, SheetRule::SINGLE);
  EXPECT_EQ(layout.Lines[7].RuleAbove, SheetRule::DOUBLE);
  EXPECT_EQ(layout.Lines[7].TextDropPixels, 1);
  for (size_t i : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(layout.Lines[i].RuleAbove, SheetRule::NONE) << i;

  EXPECT_EQ(layout.Totals.Margin, 218);
  EXPECT_EQ(record.GameWinner, 0u);
  // Drawing the sheet again does not count the game again.
  sheet.DrawnLayout();
  EXPECT_EQ(sheet.Stats.At(USER_WINS, STANDARD_GIN), 1u);
  EXPECT_EQ(sheet.Stats.At(USER_POINTS, STANDARD_GIN), 218u);
  EXPECT_EQ(sheet.Stats.At(USER_BEST_SCORE, STANDARD_GIN), 218u);
}

TEST(ScoreSheetLayout, AShutoutDoublesTheWinnersTotalBeforeTheBoxes) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, SIMPLE_GIN);
  Play(sheet, {{1, 60}, {1, 50}});
  ScoreSheetLayout layout = sheet.DrawnLayout();
  ASSERT_EQ(layout.Lines.size(), 8u);
  EXPECT_EQ(layout.Lines.size(), record.NumLines);
  const std::vector<Texts> expected = {
      {"   0", "  60"}, {"   0", " 110"}, {"", "+100"}, {"", "+210"}, {"", "+2 (25)"}, {"   0", " 470"},
      {"", "-  0"},     {"", " 470"},
  };
  EXPECT_EQ(TextsOf(layout), expected);
  EXPECT_EQ(layout.Lines[3].Kind, SheetLineKind::SHUTOUT);
  EXPECT_EQ(layout.Lines[7].TextDropPixels, 0);  // only the human's margin drops
  EXPECT_EQ(layout.Totals.Total[1], 470);
  EXPECT_EQ(record.GameWinner, 1u);
  EXPECT_EQ(sheet.Stats.At(COMPUTER_WINS, SIMPLE_GIN), 1u);
  EXPECT_EQ(sheet.Stats.At(COMPUTER_POINTS, SIMPLE_GIN), 470u);
  EXPECT_EQ(sheet.Stats.At(USER_WINS, SIMPLE_GIN), 0u);
}

TEST(ScoreSheetLayout, BoxesCanTurnTheResultAgainstThePlayerWhoReachedTheTarget) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, OKLAHOMA_GIN);
  // Nine small hands to the computer; the human reaches the target once.
  Play(sheet, {{1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {0, 100}});
  EXPECT_EQ(record.GameWinner, 0u);
  ScoreSheetLayout layout = sheet.DrawnLayout();
  // Human 100 + 100 + 25 = 225; computer 45 + 9 x 25 = 270.
  EXPECT_EQ(layout.Lines[10].Text, (Texts{"+100", ""}));
  EXPECT_EQ(layout.Lines[11].Text, (Texts{"+1 (25)", "+9 (25)"}));
  EXPECT_EQ(layout.Lines[12].Text, (Texts{" 225", " 270"}));
  EXPECT_EQ(layout.Lines[13].Text, (Texts{"", "-225"}));
  EXPECT_EQ(layout.Lines[14].Text, (Texts{"", "  45"}));
  EXPECT_EQ(record.GameWinner, 1u);
  EXPECT_EQ(sheet.Stats.At(COMPUTER_WINS, OKLAHOMA_GIN), 1u);
  EXPECT_EQ(sheet.Stats.At(USER_WINS, OKLAHOMA_GIN), 0u);

  // Computer 75 + 6 boxes against human 100 + 100 + 1 box: 225 each.
  ScoreRecord tied(100);
  ScoreSheet tiedSheet(tied, OKLAHOMA_GIN);
  Play(tiedSheet, {{1, 12}, {1, 12}, {1, 12}, {1, 12}, {1, 12}, {1, 15}, {0, 100}});
  ScoreSheetLayout tie = tiedSheet.DrawnLayout();
  ASSERT_EQ(tie.Lines.size(), tied.NumLines);
  EXPECT_EQ(tie.Lines[8].Text, (Texts{"+1 (25)", "+6 (25)"}));
  EXPECT_EQ(tie.Lines[9].Text, (Texts{" 225", " 225"}));
  // A tie draws nothing more, but its two lines still take their place.
  EXPECT_EQ(tie.Lines[10].Text, (Texts{"", ""}));
  EXPECT_EQ(tie.Lines[11].Text, (Texts{"", ""}));
  EXPECT_EQ(tie.Lines[11].RuleAbove, SheetRule::NONE);
  EXPECT_EQ(tied.GameWinner, GAME_TIED);
  EXPECT_EQ(tiedSheet.Stats.Values, Statistics().Values);
}

TEST(ScoreSheetLayout, AComputerWinSubtractsInTheComputersColumn) {
  ScoreRecord record(150);
  ScoreSheet sheet(record, STANDARD_GIN);
  Play(sheet, {{0, 20}, {1, 90}, {1, 70}});
  ScoreSheetLayout layout = LayOutScoreSheet(record);
  // Layout alone neither decides the winner nor counts the game.
  EXPECT_EQ(record.GameWinner, 1u);
  EXPECT_TRUE(sheet.GameJustEnded());
  EXPECT_EQ(layout.Lines[3].Text, (Texts{"", "+100"}));
  EXPECT_EQ(layout.Lines[4].Text, (Texts{"+1 (25)", "+2 (25)"}));
  EXPECT_EQ(layout.Lines[5].Text, (Texts{"  45", " 310"}));
  EXPECT_EQ(layout.Lines[6].Text, (Texts{"", "- 45"}));
  EXPECT_EQ(layout.Lines[7].Text, (Texts{"", " 265"}));
  EXPECT_EQ(layout.Lines[7].RuleAbove, SheetRule::DOUBLE);
  EXPECT_EQ(sheet.Stats.Values, Statistics().Values);
}

TEST(ScoreSheetLayout, AGameInProgressShowsOnlyItsRows) {
  ScoreRecord record(500);
  ScoreSheet sheet(record, SIMPLE_GIN);
  EXPECT_TRUE(sheet.DrawnLayout().Lines.empty());
  Play(sheet, {});
  for (int i = 0; i < 21; ++i) sheet.AddHand(static_cast<uint32_t>(i % 2), 10);
  EXPECT_EQ(record.RecordsSize, 40u);
  ScoreSheetLayout layout = sheet.DrawnLayout();
  EXPECT_FALSE(layout.GameOver);
  ASSERT_EQ(layout.Lines.size(), 21u);
  EXPECT_EQ(layout.Lines[20].Text, (Texts{" 110", " 100"}));
  EXPECT_EQ(layout.Lines[20].Underlined, HUMAN_COLUMN);
}

TEST(ScoreSheetScroll, PositionStaysWithinTheRangeAndTheRangeCoversEveryLine) {
  ScoreRecord record(100);
  ScoreSheet sheet(record, SIMPLE_GIN);
  Play(sheet, {{0, 30}, {1, 12}, {0, 75}});
  EXPECT_EQ(sheet.ScrollRange(), 50u);
  EXPECT_EQ(sheet.ScrollPosition(), 0u);  // eight lines fit in the nine shown
  sheet.SetScrollPosition(7);
  EXPECT_EQ(sheet.ScrollPosition(), 7u);
  sheet.SetScrollPosition(-3);
  EXPECT_EQ(sheet.ScrollPosition(), 0u);
  sheet.SetScrollPosition(51);
  EXPECT_EQ(sheet.ScrollPosition(), 50u);
  sheet.NewGame();
  EXPECT_EQ(sheet.ScrollPosition(), 0u);

  // A long game of one-point hands runs past the fifty lines: its last
  // lines stay in reach.
  ScoreRecord longRecord(250);
  ScoreSheet longSheet(longRecord, SIMPLE_GIN);
  Play(longSheet, {});
  for (int i = 0; i < 70; ++i) longSheet.AddHand(static_cast<uint32_t>(i % 2), 1);
  EXPECT_EQ(longSheet.ScrollRange(), 61u);
  EXPECT_EQ(longSheet.ScrollPosition(), 61u);
  EXPECT_EQ(LayOutScoreSheet(longRecord).Lines.size(), 70u);
}
