#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "game/card.h"
#include "game/card_id.h"
#include "game/deadwood.h"
#include "game/hand_end_view.h"
#include "game/hand_figures.h"
#include "game/table_commands.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"
#include "player/hint.h"
#include "table_fixture.h"
#include "table_scenario.h"

TEST(Flow, UpcardOfferWhenTheHumanBegins) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
  EXPECT_EQ(table.State().Play, HumanTake);
  EXPECT_EQ(table.View.Statuses.back(), YOU_BEGIN_OFFER);
  EXPECT_FALSE(table.Flow.TakeStockCard());  // only the upcard or a pass
  ASSERT_TRUE(table.Flow.Pass());
  EXPECT_EQ(table.State().Offer, OFFER_TO_DEALER);
  EXPECT_EQ(table.State().Play, ComputerTake);
  table.Flow.IdleStep();
  if (table.State().Play == HumanTake) {  // the computer passed too
    EXPECT_EQ(table.State().Offer, FIRST_PLAYER_TAKES_STOCK);
    EXPECT_EQ(table.View.Statuses.back(), COMPUTER_PASSES_TOO);
    EXPECT_FALSE(table.Flow.Pass());
    EXPECT_FALSE(table.Flow.TakeUpcard());
    EXPECT_TRUE(table.Flow.TakeStockCard());
  } else {
    EXPECT_EQ(table.State().Play, ComputerDiscard);
    EXPECT_EQ(table.State().Offer, NORMAL_PLAY);
  }
}

TEST(Flow, JustTakenUpcardCannotBeDiscardedThatTurn) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
  ASSERT_TRUE(table.Flow.TakeUpcard());
  uint32_t taken = table.State().UpcardTaken;
  uint32_t position = table.Deck.TopIndex(HUMAN_PILE);
  ASSERT_EQ(table.Deck.CardIndexAt(HUMAN_PILE, position), taken);
  EXPECT_FALSE(table.Flow.Discard(position));
  EXPECT_FALSE(table.Flow.Knock(position));
  ASSERT_EQ(table.View.Messages.size(), 2u);
  EXPECT_EQ(table.View.Messages[0].Caption, RULE_CAPTION);
  EXPECT_EQ(table.View.Messages[0].TextId, ILLEGAL_DISCARD);
  EXPECT_EQ(table.State().Play, HumanDiscard);
  EXPECT_TRUE(table.Flow.Discard(0));
}

TEST(Flow, NewGameDuringTheComputersWaitAbandonsItsMove) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 0;  // the computer begins
  table.Flow.DealHand();
  TableScenario::State(table).Offer = FIRST_PLAYER_TAKES_STOCK;  // it must draw: a take with waits
  ASSERT_EQ(table.State().Play, ComputerTake);
  table.View.DuringWaitNumber = static_cast<uint32_t>(table.View.WaitTimes.size()) + 1;
  std::vector<uint32_t> newHand;
  table.View.DuringWait = [&] {
    table.Flow.NewGame(false, true);
    newHand = table.Deck.PileCards(COMPUTER_PILE);
  };
  table.Flow.IdleStep();
  const std::vector<uint32_t> hand = table.Deck.PileCards(COMPUTER_PILE);
  EXPECT_EQ(hand, newHand);  // nothing moved after the new deal
  EXPECT_EQ(hand.size(), 10u);
  EXPECT_TRUE(table.State().AbortPending);
  EXPECT_NE(table.State().Play, ComputerDiscard);
  EXPECT_EQ(CheckTable(table.Flow, table.State(), table.Deck), "");
}

TEST(Flow, CloseRequestIsRefusedOnceThenGranted) {
  ScratchInstallation install;
  HeadlessTable table;
  EXPECT_FALSE(table.Flow.RequestClose());
  EXPECT_FALSE(table.Flow.NewGame(false, true));
  table.Flow.IdleStep();
  EXPECT_EQ(table.View.CloseRequests, 1u);
  EXPECT_TRUE(table.Flow.RequestClose());
}

TEST(Flow, NewGameFromTheMenuAsksDuringAGame) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.NewGame(false, false);
  table.View.ConfirmAnswers = {false};
  EXPECT_FALSE(table.Flow.NewGame(true, true));
  ASSERT_EQ(table.View.Confirmations.size(), 1u);
  EXPECT_EQ(table.View.Confirmations[0], (std::pair<uint32_t, uint32_t>(GAME_IN_PROGRESS, UNFINISHED_GAME)));
  EXPECT_TRUE(table.Flow.NewGame(true, true));
}

TEST(Flow, GameOverStatusNamesTheWinnerOfTheFinalTotals) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.NewGame(false, false);
  // The human reaches 100 first, but the computer's eight boxes outweigh
  // the game bonus: 250 against 296.
  for (int hand = 0; hand < 8; ++hand) table.Record.RecordHand(1, 12);
  table.Record.RecordHand(0, 10);
  table.Record.RecordHand(0, 90);
  ASSERT_TRUE(table.Record.GameOver);
  TableScenario::State(table).Dealer = 0;
  TableScenario::State(table).HandOver = true;
  table.Flow.AnnounceHand();
  EXPECT_EQ(table.View.Statuses.back(), GAME_LOST);
}

namespace {

// Deals the named cards: the rest go to the stock.
void SetHands(HeadlessTable& table, const std::vector<const char*>& human, const std::vector<const char*>& computer) {
  NxDeck& deck = table.Deck;
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, DISCARD_PILE})
    while (deck.CardsInPile(pile) > 0) deck.MoveCard(pile, 0, STOCK_PILE, false);
  auto give = [&](const char* name, uint32_t pile) {
    const std::optional<uint32_t> pos = deck.PositionOf(STOCK_PILE, *ParseCard(name));
    ASSERT_TRUE(pos) << name;
    deck.MoveCard(STOCK_PILE, *pos, pile, true);
  };
  for (const char* name : human) give(name, HUMAN_PILE);
  for (const char* name : computer) give(name, COMPUTER_PILE);
}

std::vector<std::string> PileNames(const NxDeck& deck, uint32_t pile) {
  std::vector<std::string> names;
  for (uint32_t card : deck.PileCards(pile)) names.push_back(CardName(card));
  return names;
}

}  // namespace

// Random knocks laid open: the marks on the table agree with the scoring.
// Each band (the knocker's melds with the cards laid off on them, and the
// defender's own melds) is a meld; the cards left unbanded add up to each
// hand's deadwood as scored; the person's hand lies melds first, then its
// laid-off cards, then its deadwood; the cards laid off lie beside the
// knocker's hand; and the line ends with the points.
TEST(Flow, AHandLaidOpenIsMarkedAndSummedAsItWasScored) {
  ScratchInstallation install;
  HeadlessTable table;
  std::mt19937 random(4711);
  uint32_t knocks = 0, withLayoffs = 0;
  for (int attempt = 0; attempt < 400000 && knocks < 150; ++attempt) {
    std::vector<uint32_t> cards(NUM_CARDS);
    for (uint32_t i = 0; i < NUM_CARDS; ++i) cards[i] = i;
    std::shuffle(cards.begin(), cards.end(), random);
    const uint32_t knocker = random() % 2;
    uint64_t knockerCards = 0;
    for (uint32_t i = 0; i < 10; ++i) knockerCards |= CardBit(cards[knocker * 10 + i]);
    if (LeastDeadwood(knockerCards) > 10) continue;
    TableScenario::State(table).Dealer = 1;
    TableScenario::State(table).HandOver = false;
    table.Flow.DealHand();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < 20; ++i) names.push_back(CardName(cards[i]));
    std::vector<const char*> human, computer;
    for (uint32_t i = 0; i < 10; ++i) human.push_back(names[i].c_str()), computer.push_back(names[10 + i].c_str());
    SetHands(table, human, computer);
    TableScenario::State(table).KnockLimit = 10;
    ASSERT_TRUE(table.Flow.EvaluateKnock(knocker));
    table.Flow.AnnounceHand();
    const GameState& s = table.State();
    const auto view = HandEndOnTable(table.Deck, s);
    ASSERT_TRUE(view) << attempt;
    ++knocks;
    const LaidOffList& laidOff = s.LaidOff;
    std::set<uint32_t> laid;
    if (!s.Gin) laid.insert(laidOff.Cards.begin(), laidOff.Cards.begin() + laidOff.Count);
    withLayoffs += laid.empty() ? 0 : 1;
    const HandFigures figures = FiguresOfHand(table.Deck, s);
    const int32_t scored[2] = {figures.HumanDeadwood, figures.ComputerDeadwood};
    for (uint32_t seat : {HUMAN_SEAT, COMPUTER_SEAT}) {
      std::map<uint32_t, uint64_t> bands;
      int32_t unbanded = 0;
      for (uint32_t card : table.Deck.PileCards(PileOf(seat))) {
        const uint8_t mark = view->Marks[card];
        if (mark == NO_MARK || mark == DEADWOOD_MARK)
          unbanded += CardPoints[card % NUM_RANKS];
        else if (laid.count(card) == 0)
          bands[mark] |= CardBit(card);
      }
      EXPECT_EQ(unbanded, scored[seat]) << attempt << " seat " << seat;
      if (seat == OtherSeat(laidOff.Player) || laid.empty())
        for (uint32_t card : laid) bands[view->Marks[card]] |= CardBit(card);
      for (const auto& [mark, band] : bands) EXPECT_EQ(LeastDeadwood(band), 0) << attempt << " mark " << int(mark);
    }
    int order = 0;
    for (uint32_t card : table.Deck.PileCards(HUMAN_PILE)) {
      const uint8_t mark = view->Marks[card];
      const int kind = laid.count(card) ? 1 : (mark == NO_MARK || mark == DEADWOOD_MARK) ? 2 : 0;
      EXPECT_GE(kind, order) << attempt << " " << CardName(card);
      order = std::max(order, kind);
    }
    // The cards laid off lie on the knocker's row, right of its hand.
    for (uint32_t card : laid) {
      const TRect shown = table.Deck.Card(card)->Rect();
      EXPECT_EQ(shown.top, TABLE_PILES[PileOf(OtherSeat(laidOff.Player))].Position.y) << CardName(card);
      EXPECT_GE(shown.left, LAID_OFF_LEFT);
      EXPECT_LE(shown.right, TABLE_AREA.right);
    }
    const std::string points = "= " + std::to_string(s.Points) + ".";
    EXPECT_EQ(view->Line.substr(view->Line.size() - points.size()), points) << view->Line;
  }
  EXPECT_EQ(knocks, 150u);
  EXPECT_GT(withLayoffs, 20u);
}

TEST(Flow, DefenderLaysOpenDeadwoodThenLayoffsThenJoinedRunsThenOwnMelds) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
  SetHands(table, {"2H", "3H", "4H", "5S", "5D", "5C", "7C", "8C", "9C", "AS"},
           {"KH", "2D", "10C", "5H", "JC", "KD", "6H", "QC", "3D", "KS"});
  ASSERT_TRUE(table.Flow.EvaluateKnock(0));
  EXPECT_EQ(table.State().Dealer, 0u);
  table.Flow.AnnounceHand();
  std::vector<std::string> shown = PileNames(table.Deck, COMPUTER_PILE);
  ASSERT_EQ(shown.size(), 10u);
  EXPECT_EQ(std::set<std::string>(shown.begin(), shown.begin() + 2), (std::set<std::string>{"2D", "3D"}));
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 2, shown.begin() + 4), (std::vector<std::string>{"5H", "6H"}));
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 4, shown.begin() + 7), (std::vector<std::string>{"10C", "JC", "QC"}));
  EXPECT_EQ(std::set<std::string>(shown.begin() + 7, shown.end()), (std::set<std::string>{"KH", "KD", "KS"}));
}

TEST(Flow, CloseDuringTheComputersTakeCompletesTheTake) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 0;  // the computer begins
  table.Flow.DealHand();
  TableScenario::State(table).Offer = FIRST_PLAYER_TAKES_STOCK;  // it must draw: a take with waits
  table.View.DuringWaitNumber = static_cast<uint32_t>(table.View.WaitTimes.size()) + 1;
  table.View.DuringWait = [&] { table.Flow.RequestClose(); };
  EXPECT_TRUE(table.Flow.IdleStep());  // the repeated close request is still to come
  EXPECT_EQ(table.Deck.CardsInPile(COMPUTER_PILE), 11u);
  EXPECT_EQ(table.State().Play, ComputerDiscard);
  EXPECT_EQ(CheckTable(table.Flow, table.State(), table.Deck), "");
  table.Flow.IdleStep();
  EXPECT_EQ(table.View.CloseRequests, 1u);
}

TEST(Flow, NoSortingLeavesTheDealtOrder) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.Settings.SortAfterDeal = HandSort::NONE;
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
  // The computer's ten cards are dealt first, then the human's ten.
  std::vector<uint32_t> dealt, held;
  for (uint32_t i = 10; i < 20; ++i) dealt.push_back(table.Deck.CardInOrder(i)->Index());
  for (uint32_t i = 0; i < 10; ++i) held.push_back(table.Deck.CardIndexAt(HUMAN_PILE, i));
  EXPECT_EQ(held, dealt);
  EXPECT_EQ(table.State().Sort, PLAYERS_ORDER);

  table.Flow.Settings.SortAfterDeal = HandSort::BY_SUIT;
  table.Flow.NextHand();  // refused: the hand is not over
  TableScenario::State(table).HandOver = true;
  table.Flow.NextHand();
  EXPECT_EQ(table.State().Sort, SORTED_BY_SUIT);
}

TEST(Flow, ACardHeldByTheMouseIsScoredWithItsHand) {
  ScratchInstallation install;
  auto knockWith = [](bool holdACard) {
    HeadlessTable table;
    TableScenario::State(table).Dealer = 1;
    table.Flow.DealHand();
    SetHands(table, {"2H", "3H", "4H", "9S", "9D", "KC", "QC", "5D", "7S", "8C"},
             {"AS", "2S", "3S", "5C", "6C", "7C", "JD", "QD", "KD", "AC"});
    TableScenario::State(table).KnockLimit = 10;
    if (holdACard) {
      table.Deck.PickUp(HUMAN_PILE, 3);
      TableScenario::State(table).Dragging = true;
    }
    EXPECT_TRUE(table.Flow.EvaluateKnock(1));  // three melds and the ace of clubs
    EXPECT_EQ(table.Deck.HeldCard(), nullptr);
    EXPECT_FALSE(table.State().Dragging);
    EXPECT_EQ(table.Deck.CardsInPile(HUMAN_PILE), 10u);
    return std::make_pair(table.State().Points, table.State().Dealer);
  };
  EXPECT_EQ(knockWith(true), knockWith(false));
}

TEST(Flow, IdleStepRunsOnceAtATimeAndSaysWhenItIsDone) {
  ScratchInstallation install;
  HeadlessTable table;
  TableScenario::State(table).Dealer = 0;  // the computer begins
  table.Flow.DealHand();
  TableScenario::State(table).Offer = FIRST_PLAYER_TAKES_STOCK;
  table.View.DuringWaitNumber = static_cast<uint32_t>(table.View.WaitTimes.size()) + 1;
  bool nestedResult = true;
  table.View.DuringWait = [&] { nestedResult = table.Flow.IdleStep(); };
  EXPECT_TRUE(table.Flow.IdleStep());
  EXPECT_FALSE(nestedResult);
  EXPECT_EQ(table.Deck.CardsInPile(COMPUTER_PILE), 11u);
  table.View.DuringWait = nullptr;

  // Play on to the person's turn: the steps then stop.
  bool more = true;
  for (int i = 0; i < 10 && more; ++i) more = table.Flow.IdleStep();
  EXPECT_FALSE(more);
  EXPECT_TRUE(table.State().Play == HumanTake || table.State().Play == Learning) << table.State().Play;
  EXPECT_FALSE(table.Flow.HasIdleWork());
}

TEST(Flow, LearningStepsEndOnTheirOwn) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.NewGame(false, false);
  uint32_t guard = 0;
  while (table.State().Play != Learning && ++guard < 2000) {
    if (!table.Flow.HasIdleWork()) PlayScriptedHumanMove(table.Flow);
    table.Flow.IdleStep();
  }
  ASSERT_EQ(table.State().Play, Learning);
  uint32_t steps = 0;
  while (table.Flow.IdleStep() && ++steps < 10000) {}
  EXPECT_GT(steps, 0u);
  EXPECT_LT(steps, 10000u);
  EXPECT_FALSE(table.Flow.HasIdleWork());
}

TEST(Flow, WatchingAsksFirstAndKeepsTheGameMarked) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.NewGame(false, false);
  table.View.ConfirmAnswers = {false};
  EXPECT_FALSE(table.Flow.RunCommand(CM_WATCH_COMPUTER_HAND));
  EXPECT_FALSE(table.State().Watching);
  ASSERT_EQ(table.View.Confirmations.size(), 1u);
  EXPECT_EQ(table.View.Confirmations[0], (std::pair<uint32_t, uint32_t>(WARNING_CAPTION, WATCH_WARNING)));

  EXPECT_TRUE(table.Flow.RunCommand(CM_WATCH_COMPUTER_HAND));
  EXPECT_TRUE(table.State().Watching);
  EXPECT_TRUE(table.Deck.Pile(COMPUTER_PILE).Cards[0]->IsFaceUp());
  EXPECT_TRUE(table.Flow.RunCommand(CM_WATCH_COMPUTER_HAND));  // off: no question
  EXPECT_EQ(table.View.Confirmations.size(), 2u);
  EXPECT_FALSE(table.Deck.Pile(COMPUTER_PILE).Cards[0]->IsFaceUp());
  EXPECT_TRUE(table.Record.Watched);  // the game stays out of the statistics
}

TEST(Flow, CommandsThatMoveCardsCloseTheScoreSheet) {
  ScratchInstallation install;
  HeadlessTable table;
  table.Flow.NewGame(false, false);
  table.Flow.Settings.SortAfterDeal = HandSort::NONE;
  ASSERT_TRUE(table.Flow.RunCommand(CM_SCORE));
  EXPECT_FALSE(table.Flow.RunCommand(CM_SCORE));  // already shown
  EXPECT_EQ(table.View.ScoreSheetShows, 1u);
  TableScenario::State(table).Sort = PLAYERS_ORDER;
  EXPECT_TRUE(table.Flow.RunCommand(CM_SORT_BY_SUIT));
  EXPECT_EQ(table.State().Sort, SORTED_BY_SUIT);
  EXPECT_FALSE(table.State().ScoreSheetShown);
  EXPECT_EQ(table.View.ScoreSheetCloses, 1u);
  EXPECT_FALSE(table.Flow.RunCommand(CM_SORT_BY_SUIT));
}

// The person's seat played by hints alone: every hint is a move the flow
// takes, and asking for one leaves the table as it was.
TEST(Flow, HintsAreMovesTheFlowTakesAndAskingChangesNothing) {
  ScratchInstallation install;
  HeadlessTable table(3, STANDARD_GIN, false, 777);
  auto piles = [&table] {
    std::vector<uint32_t> cards;
    for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, STOCK_PILE, DISCARD_PILE})
      for (uint32_t card : table.Deck.PileCards(pile)) cards.push_back(card);
    return cards;
  };
  table.Flow.NewGame(false, false);
  uint32_t hands = 0, hints = 0, reasons = 0;
  for (int step = 0; step < 20000 && hands < 3; ++step) {
    GameState& s = TableScenario::State(table);
    if (s.Play == HumanTake || s.Play == HumanDiscard) {
      const std::vector<uint32_t> before = piles();
      const PlayState play = s.Play;
      const std::optional<Hint> hint = AdviseHuman(table.Flow, install.Path("QLDEFLT.QLF"), MasterBudget{60, 0});
      ASSERT_TRUE(hint.has_value());
      ASSERT_EQ(piles(), before);
      ASSERT_EQ(s.Play, play);
      // The reason is whole, and asking again says the same.
      EXPECT_EQ(hint->Reason.find('%'), std::string::npos) << hint->Reason;
      const std::optional<Hint> again = AdviseHuman(table.Flow, install.Path("QLDEFLT.QLF"), MasterBudget{60, 0});
      EXPECT_EQ(HintText(*again, table.Deck), HintText(*hint, table.Deck));
      if (!hint->Reason.empty()) ++reasons;
      ASSERT_TRUE(table.Flow.RunCommand(hint->Command, hint->Position)) << "hint " << hint->Command;
      ++hints;
    } else if (s.Play == Learning && !table.Flow.HasIdleWork()) {
      ++hands;
      if (table.Record.GameOver || !table.Flow.NextHand()) table.Flow.NewGame(false, false);
    } else {
      table.Flow.IdleStep();
    }
    ASSERT_EQ(CheckTable(table.Flow, table.State(), table.Deck), "");
  }
  EXPECT_EQ(hands, 3u);
  EXPECT_GT(hints, 10u);
  EXPECT_GT(reasons * 2, hints);
}

// Every hand is told at its end, once: a knock as it is scored (the
// defender's deadwood after laying off), a game's last hand with its final
// totals, and a hand the stock ended with no knocker and no points.
TEST(Flow, EveryHandIsToldOnceAtItsEnd) {
  ScratchInstallation install;
  HeadlessTable table;
  std::vector<PlayedHand> told;
  table.Flow.HandPlayed = [&](const PlayedHand& hand) { told.push_back(hand); };
  TableScenario::State(table).Dealer = 1;
  table.Flow.DealHand();
  SetHands(table, {"2H", "3H", "4H", "9S", "9D", "KC", "QC", "5D", "7S", "8C"},
           {"AS", "2S", "3S", "5C", "6C", "7C", "JD", "QD", "KD", "AC"});
  TableScenario::State(table).KnockLimit = 10;
  ASSERT_TRUE(table.Flow.EvaluateKnock(1));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].Knocker, 1u);
  EXPECT_EQ(told[0].Winner, table.State().Dealer);
  EXPECT_EQ(told[0].Deadwood[1], 1);
  EXPECT_EQ(told[0].Deadwood[0], 50);  // the eight of clubs laid off
  EXPECT_EQ(told[0].Points, static_cast<uint32_t>(table.State().Points));
  EXPECT_EQ(told[0].Number, 1u);
  EXPECT_FALSE(told[0].EndsGame);

  table.Record.RecordHand(1, 30);  // 79: the next knock ends the game
  TableScenario::State(table).HandOver = false;
  ASSERT_TRUE(table.Flow.EvaluateKnock(1));
  ASSERT_EQ(told.size(), 2u);
  EXPECT_TRUE(told[1].EndsGame);
  EXPECT_EQ(told[1].Number, 3u);
  EXPECT_EQ(told[1].HandsWon[1], 3u);
  EXPECT_EQ(told[1].Totals.Total[1], table.Record.ComputeFinalTotals().Total[1]);

  table.Flow.AnnounceTie();
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[2].Knocker, PlayedHand::NOBODY);
  EXPECT_EQ(told[2].Winner, PlayedHand::NOBODY);
  EXPECT_EQ(told[2].Points, 0u);
  EXPECT_EQ(told[2].Deadwood[1], 1);
}
