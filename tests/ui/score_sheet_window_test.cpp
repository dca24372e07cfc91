#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "game/rules.h"
#include "ui/laid_off_caption_window.h"
#include "ui/score_client.h"
#include "ui/score_sheet_window.h"
#include "ui_test_support.h"

namespace {

// A table's worth of score sheet: the record, the sheet and its window.
struct SheetTable {
  explicit SheetTable(uint32_t target = 100, uint32_t variation = STANDARD_GIN)
      : Record(target), Sheet(Record, variation), Window(Sheet) {
    Sheet.NewGame();
  }
  // The flow writes into the record; the window is told afterwards.
  void Hand(uint32_t winner, uint32_t points) {
    Record.RecordHand(winner, points);
    Window.Refresh();
  }
  void PlayTheExampleGame() {
    Hand(0, 30);
    Hand(1, 12);
    Hand(0, 75);
  }
  // The sheet's drawing area painted at ratio 1, whatever the screen's.
  QImage Sheet1x() { return Rendered(*Window.Client().viewport(), 1); }

  ScoreRecord Record;
  ScoreSheet Sheet;
  ScoreSheetWindow Window;
};

bool IsRed(const QImage& image, int x, int y) { return image.pixelColor(x, y) == QColor(Qt::red); }

// Pixels clearly darker than the paper inside the rectangle.
int Ink(const QImage& image, const QRect& rect) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++count;
  return count;
}

}  // namespace

TEST(ScoreSheetWindow, IsAModelessPanelWithTheColumnLabels) {
  SheetTable table;
  EXPECT_EQ(table.Window.windowTitle(), QStringLiteral("Score Sheet"));
  EXPECT_EQ(table.Window.HumanLabel(), QStringLiteral("You"));
  EXPECT_EQ(table.Window.ComputerLabel(), QStringLiteral(" Computer"));
  // Without a frame to dock in, it is a window of its own.
  EXPECT_TRUE(table.Window.isFloating());
  EXPECT_EQ(table.Window.windowModality(), Qt::NonModal);
  EXPECT_FALSE(table.Window.IsShown());
  table.Window.Show();
  EXPECT_TRUE(table.Window.IsShown());
  // Room for the title beside the title bar's buttons, and for nine whole
  // lines, the last with the pixel a winner's margin drops.
  const QSize unit = table.Window.Client().Unit();
  EXPECT_GE(table.Window.Client().viewport()->height(), 9 * unit.height() + 1);
  EXPECT_GT(table.Window.width(), QFontMetrics(table.Window.font()).horizontalAdvance(table.Window.windowTitle()) +
                                      2 * unit.height());
  table.Window.Close();
  EXPECT_FALSE(table.Window.IsShown());
}

TEST(ScoreSheetWindow, AFinishedGameIsCountedOnceWhenTheSheetFirstShowsIt) {
  SheetTable table;
  table.PlayTheExampleGame();
  // Recorded while the window is closed: not drawn, so not counted yet.
  EXPECT_EQ(table.Sheet.Stats.At(USER_WINS, STANDARD_GIN), 0u);
  table.Window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&table.Window));
  table.Sheet1x();
  table.Window.Refresh();
  table.Window.Close();
  table.Window.Show();
  table.Sheet1x();
  EXPECT_EQ(table.Sheet.Stats.At(USER_WINS, STANDARD_GIN), 1u);
  EXPECT_EQ(table.Sheet.Stats.At(USER_POINTS, STANDARD_GIN), 218u);
  EXPECT_EQ(table.Record.GameWinner, 0u);

  // A game watched for one hand is drawn but never counted.
  table.Sheet.NewGame();
  table.Hand(0, 30);
  table.Sheet.SetWatching(true);
  table.Hand(1, 12);
  table.Sheet.SetWatching(false);
  table.Hand(0, 75);
  table.Sheet1x();
  EXPECT_EQ(table.Sheet.Stats.At(USER_WINS, STANDARD_GIN), 1u);
}

TEST(ScoreSheetWindow, DrawsRowsUnderlinesRulesAndTheResultInPlace) {
  SheetTable table;
  table.PlayTheExampleGame();
  table.Window.Show();
  const QImage image = table.Sheet1x();
  const int w = table.Window.Client().Unit().width();
  const int h = table.Window.Client().Unit().height();

  // Row 1 was the human's hand, row 2 the computer's: one underline each.
  EXPECT_TRUE(IsRed(image, 5 * w, h - 1));
  EXPECT_FALSE(IsRed(image, 14 * w, h - 1));
  EXPECT_TRUE(IsRed(image, 14 * w, 2 * h - 1));
  EXPECT_FALSE(IsRed(image, 5 * w, 2 * h - 1));
  EXPECT_TRUE(IsRed(image, 2 * w, h - 1));
  EXPECT_FALSE(IsRed(image, 2 * w - 2, h - 1));

  // Totals under a rule (line 6), the margin under a double rule (line 8).
  EXPECT_TRUE(IsRed(image, 4, 5 * h));
  EXPECT_TRUE(IsRed(image, 18 * w, 5 * h));
  EXPECT_FALSE(IsRed(image, 3, 5 * h));
  EXPECT_TRUE(IsRed(image, 10 * w, 7 * h));
  EXPECT_FALSE(IsRed(image, 10 * w, 7 * h + 1));
  EXPECT_TRUE(IsRed(image, 10 * w, 7 * h + 2));

  // Totals end at 7w and 16w; "+100" stands in the human's column only.
  EXPECT_GT(Ink(image, QRect(5 * w, 0, 2 * w, h - 2)), 0);
  EXPECT_EQ(Ink(image, QRect(7 * w + 1, 0, 3 * w, h - 2)), 0);
  EXPECT_GT(Ink(image, QRect(14 * w, 0, 2 * w, h - 2)), 0);
  EXPECT_EQ(Ink(image, QRect(16 * w + 1, 0, 2 * w, h - 2)), 0);
  EXPECT_GT(Ink(image, QRect(3 * w, 3 * h, 4 * w, h - 2)), 0);
  EXPECT_EQ(Ink(image, QRect(9 * w, 3 * h, 8 * w, h - 2)), 0);
  // Nothing below the last line.
  EXPECT_EQ(Ink(image, QRect(0, 8 * h + 1, 18 * w, h - 2)), 0);
}

TEST(ScoreSheetWindow, ScrollsOneLinePerUnitAndShowsTheLastNineLinesAfterAHand) {
  SheetTable table(100);
  QScrollBar* bar = table.Window.Client().verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 50);
  for (int i = 0; i < 12; ++i) table.Hand(static_cast<uint32_t>(i % 2), 1);
  EXPECT_EQ(bar->value(), 3);
  EXPECT_EQ(table.Sheet.ScrollPosition(), 3u);

  bar->setValue(0);
  EXPECT_EQ(table.Sheet.ScrollPosition(), 0u);
  QTest::keyClick(bar, Qt::Key_Down);
  EXPECT_EQ(table.Sheet.ScrollPosition(), 1u);
  table.Hand(0, 1);
  EXPECT_EQ(bar->value(), 4);

  // What shows first is the line at the scroll position: the fifth row is
  // the human's, the sixth the computer's.
  table.Window.Show();
  const int w = table.Window.Client().Unit().width();
  const int h = table.Window.Client().Unit().height();
  QImage image = table.Sheet1x();
  EXPECT_TRUE(IsRed(image, 5 * w, h - 1));
  bar->setValue(5);
  image = table.Sheet1x();
  EXPECT_TRUE(IsRed(image, 14 * w, h - 1));
  EXPECT_FALSE(IsRed(image, 5 * w, h - 1));

  SheetTable longGame(500);
  EXPECT_EQ(longGame.Window.Client().verticalScrollBar()->maximum(), 100);
}

TEST(LaidOffCaptionWindow, IsTitledByThePileAndListsTheCardsUntilTheNextDeal) {
  SheetTable table;
  table.Window.Show();
  LaidOffCaptionWindow& caption = table.Window.Caption();
  EXPECT_FALSE(caption.isVisible());
  EXPECT_TRUE(caption.Text().isEmpty());

  const uint32_t humanCards[] = {MakeCard(HEARTS, 3), MakeCard(HEARTS, 7)};
  table.Window.SetLaidOff(0, humanCards, 2);
  EXPECT_TRUE(caption.isVisible());
  EXPECT_EQ(caption.Title(), QStringLiteral("Your Cards Laid Off"));
  EXPECT_EQ(caption.Text(), QString::fromUtf8("4\u2665 8\u2665"));
  // The cards are painted from (6, 8) of the area under the title.
  QWidget* cardsArea = caption.childAt(caption.width() / 2, caption.height() - 4);
  ASSERT_NE(cardsArea, nullptr);
  const QImage cards = Rendered(*cardsArea, 1);
  EXPECT_EQ(Ink(cards, QRect(0, 0, 6, cards.height())), 0);
  EXPECT_EQ(Ink(cards, QRect(0, 0, cards.width(), 8)), 0);
  EXPECT_GT(Ink(cards, QRect(6, 8, 3 * table.Window.Client().Unit().width(), 16)), 0);

  LaidOffList list;
  list.Player = 1;
  list.Count = 3;
  list.Cards = {MakeCard(CLUBS, 9), MakeCard(SPADES, 0), MakeCard(DIAMONDS, 12)};
  table.Window.SetLaidOff(list);
  EXPECT_EQ(caption.Title(), QStringLiteral("Computer Cards Laid Off"));
  EXPECT_EQ(caption.Text(), QString::fromUtf8("10\u2663 A\u2660 K\u2666"));

  const QSize before = table.Window.size();
  table.Window.ClearLaidOff();
  EXPECT_FALSE(caption.isVisible());
  EXPECT_TRUE(caption.Title().isEmpty());
  EXPECT_EQ(table.Window.size(), before);
}

TEST(LaidOffCaptionWindow, KeepsTenCardsAtMostAndLeavesOutWhatIsNoCard) {
  LaidOffCaptionWindow caption;
  std::vector<uint32_t> cards = {NoCard, 0, 99};
  for (uint32_t card = 1; card < 14; ++card) cards.push_back(card);
  caption.SetLaidOff(7, cards.data(), static_cast<uint32_t>(cards.size()));
  EXPECT_EQ(caption.List().Count, MAX_LAID_OFF);
  EXPECT_EQ(caption.List().Player, 0u);
  EXPECT_TRUE(caption.Text().startsWith(QString::fromUtf8("A\u2665 2\u2665")));
  caption.SetLaidOff(1, nullptr, 4);
  EXPECT_FALSE(caption.HasList());
}

TEST(ScoreSheetWindow, Screenshots) {
  SheetTable table;
  table.PlayTheExampleGame();
  const uint32_t cards[] = {MakeCard(HEARTS, 3), MakeCard(CLUBS, 9), MakeCard(DIAMONDS, 11), MakeCard(SPADES, 0)};
  table.Window.SetLaidOff(1, cards, 4);
  table.Window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&table.Window));
  for (int ratio : {1, 2}) {
    const QImage image = Rendered(table.Window, ratio);
    EXPECT_EQ(image.width(), table.Window.width() * ratio);
    SaveShot(image, QStringLiteral("sheet%1x.png").arg(ratio));
  }
  // As the screen shows it, at the screen's own ratio.
  SaveShot(table.Window.grab().toImage(), QStringLiteral("sheet_screen.png"));
}
