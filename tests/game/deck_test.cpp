#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "game/deck.h"
#include "game/hand_sort.h"
#include "game/table_geometry.h"
#include "game/table_items.h"
#include "test_hands.h"

namespace {
std::vector<unsigned> DeckOrder(const NxDeck& deck) {
  std::vector<unsigned> order;
  for (uint32_t i = 0; i < NUM_CARDS; ++i) order.push_back(deck.CardInOrder(i)->Index());
  return order;
}

}  // namespace

TEST(Shuffle, SwapsEachPositionWithAnyOfTheFiftyTwo) {
  NxDeck deck(4, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
  deck.Random().Seed = 4242;
  deck.Random().InitTable();
  deck.Shuffle();

  // Replay: 52 draws, j = truncate(r * 52 / 714025), swap i and j.
  NxRandomGenerator gen;
  gen.Seed = 4242;
  gen.InitTable();
  std::vector<unsigned> expected(NUM_CARDS);
  std::iota(expected.begin(), expected.end(), 0);
  for (unsigned i = 0; i < NUM_CARDS; ++i) {
    unsigned j = static_cast<unsigned>(static_cast<int64_t>(gen.rand()) * 52 / 714025);
    std::swap(expected[i], expected[j]);
  }
  EXPECT_EQ(DeckOrder(deck), expected);
  // Exactly 52 values were drawn: both generators are in step.
  EXPECT_EQ(deck.Random().rand(), gen.rand());
}

TEST(Shuffle, TheFloatingPointIndexIsTheTruncatedQuotient) {
  for (int32_t r = 0; r < NxRandomGenerator::MODULUS; ++r)
    ASSERT_EQ(NxDeck::ShuffleIndex(r), static_cast<uint32_t>(static_cast<int64_t>(r) * 52 / 714025)) << r;
}

TEST(Shuffle, IsAPermutationAndRepeatsForTheSameState) {
  for (int32_t seed : {0, 1, 797, 714024}) {
    NxDeck a(4, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE), b(4, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
    for (NxDeck* deck : {&a, &b}) {
      deck->Random().Seed = seed;
      deck->Random().InitTable();
    }
    for (int hand = 0; hand < 3; ++hand) {
      a.Shuffle();
      b.Shuffle();
      std::vector<unsigned> order = DeckOrder(a);
      EXPECT_EQ(order, DeckOrder(b));
      std::sort(order.begin(), order.end());
      for (unsigned i = 0; i < NUM_CARDS; ++i) ASSERT_EQ(order[i], i);
    }
  }
}

TEST(Deal, TakesCardsInDeckOrderAndWrapsPastTheEnd) {
  NxDeck deck(2, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
  deck.Shuffle();
  std::vector<unsigned> order = DeckOrder(deck);
  deck.Deal(HUMAN_PILE, 50, {0, 0}, {1, 0}, 0, true);
  deck.Deal(COMPUTER_PILE, 4, {0, 100}, {1, 0}, 0, true);
  EXPECT_EQ(deck.PileCards(COMPUTER_PILE), (std::vector<unsigned>{order[50], order[51], order[0], order[1]}));
  EXPECT_EQ(deck.NextDeal(), 2u);
  EXPECT_TRUE(deck.IsLaidOut());
}

TEST(Deal, TheTablePilesAreLaidOut) {
  auto deck = DealtTableDeck(99);
  const NxHand& human = deck->Pile(HUMAN_PILE);
  EXPECT_EQ(human.Bounds, (TRect{100, 268, 100 + 69 + 9 * 34, 268 + 96}));
  for (uint32_t i = 0; i < 10; ++i) {
    const NxCard* card = human.CardAt(i);
    EXPECT_EQ(card->Position().x, 100 + 34 * static_cast<int32_t>(i));
    EXPECT_EQ(card->Layer(), 300 + 2 * static_cast<int32_t>(i));
    EXPECT_TRUE(card->IsFaceUp());
  }
  EXPECT_FALSE(deck->Pile(COMPUTER_PILE).CardAt(0)->IsFaceUp());
  EXPECT_TRUE(deck->Pile(STOCK_PILE).Stacked);
}

TEST(Deal, AStackedPileShowsOnlyItsTopTwoCards) {
  auto deck = DealtTableDeck(7);
  const NxHand& stock = deck->Pile(STOCK_PILE);
  auto visible = [&] {
    std::vector<uint32_t> shown;
    for (uint32_t i = 0; i < stock.Count; ++i)
      if (stock.CardAt(i)->IsVisible()) shown.push_back(i);
    return shown;
  };
  EXPECT_EQ(visible(), (std::vector<uint32_t>{29, 30}));
  deck->MoveCard(STOCK_PILE, 30, HUMAN_PILE, true);
  EXPECT_EQ(visible(), (std::vector<uint32_t>{28, 29}));
  EXPECT_EQ(deck->CardsInPile(HUMAN_PILE), 11u);
  EXPECT_TRUE(deck->Pile(HUMAN_PILE).CardAt(10)->IsFaceUp());
}

TEST(Deal, DisplayListHoldsTheVisibleCardsInLayerOrder) {
  auto deck = DealtTableDeck(3);
  const auto& display = deck->DisplayList();
  EXPECT_EQ(display.size(), 10u + 10u + 2u + 1u);
  EXPECT_TRUE(std::is_sorted(display.begin(), display.end(),
                             [](const NxCard* a, const NxCard* b) { return a->Layer() < b->Layer(); }));
}

struct InsertionCase {
  uint32_t From;
  std::vector<uint32_t> ExpectedOrder;  // old positions, new order
};

class DropInHand : public ::testing::TestWithParam<InsertionCase> {};

TEST_P(DropInHand, LandsDirectlyAfterTheCardUnderItsLeftEdge) {
  auto deck = DealtTableDeck(11);
  std::vector<unsigned> before = deck->PileCards(HUMAN_PILE);
  deck->PickUp(HUMAN_PILE, GetParam().From);
  EXPECT_EQ(deck->HeldCardIndex(), before[GetParam().From]);
  EXPECT_EQ(deck->TopIndex(HUMAN_PILE), 9);
  deck->Drag({170, 268}, true);
  deck->Drop();
  std::vector<unsigned> expected;
  for (uint32_t old : GetParam().ExpectedOrder) expected.push_back(before[old]);
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), expected);
  EXPECT_EQ(deck->HeldCardIndex(), NoCard);
}

INSTANTIATE_TEST_SUITE_P(AtX170, DropInHand,
                         ::testing::Values(InsertionCase{1, {0, 2, 1, 3, 4, 5, 6, 7, 8, 9}},
                                           InsertionCase{7, {0, 1, 2, 7, 3, 4, 5, 6, 8, 9}}),
                         [](const auto& info) { return "FromPosition" + std::to_string(info.param.From); });

// The scoring, the players and the saved game all read a pile through these
// three; they must agree with one another and with the piles card by card.
TEST(PileQueries, AgreeWithThePilesAndLeaveOutTheHeldCard) {
  auto deck = DealtTableDeck(21);
  uint64_t all = 0;
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, STOCK_PILE, DISCARD_PILE}) {
    const std::vector<uint32_t> cards = deck->PileCards(pile);
    const uint64_t mask = deck->PileMask(pile);
    ASSERT_EQ(cards.size(), deck->CardsInPile(pile));
    EXPECT_EQ(__builtin_popcountll(mask), static_cast<int>(cards.size()));
    EXPECT_EQ(all & mask, 0u);
    all |= mask;
    for (uint32_t i = 0; i < cards.size(); ++i) {
      EXPECT_EQ(cards[i], deck->CardIndexAt(pile, i));
      EXPECT_EQ(deck->PositionOf(pile, cards[i]), i);
      EXPECT_EQ(mask >> cards[i] & 1, 1u);
    }
  }
  EXPECT_EQ(all, (uint64_t{1} << NUM_CARDS) - 1);
  EXPECT_EQ(deck->PositionOf(COMPUTER_PILE, deck->CardIndexAt(HUMAN_PILE, 0)), std::nullopt);

  const std::vector<uint32_t> before = deck->PileCards(HUMAN_PILE);
  deck->PickUp(HUMAN_PILE, 3);
  EXPECT_EQ(deck->PositionOf(HUMAN_PILE, before[3]), std::nullopt);
  EXPECT_EQ(deck->PileMask(HUMAN_PILE) >> before[3] & 1, 0u);
  EXPECT_EQ(deck->PositionOf(HUMAN_PILE, before[4]), 3u);
  std::vector<uint32_t> rest = before;
  rest.erase(rest.begin() + 3);
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), rest);
  deck->ReturnHeldCard();
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), before);
}

TEST(Drop, OutsideThePileReturnsTheCardToItsPlace) {
  auto deck = DealtTableDeck(12);
  std::vector<unsigned> before = deck->PileCards(HUMAN_PILE);
  deck->PickUp(HUMAN_PILE, 4);
  deck->Drag({400, 20}, true);
  EXPECT_EQ(deck->HeldCard()->Layer(), HELD_LAYER);
  deck->Drop();
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), before);
}

TEST(Drop, BeyondTheLastCardGoesOnTop) {
  auto deck = DealtTableDeck(13);
  std::vector<unsigned> before = deck->PileCards(HUMAN_PILE);
  deck->PickUp(HUMAN_PILE, 0);
  deck->Drag({100 + 9 * 34 + 5, 270}, true);
  deck->Drop();
  std::vector<unsigned> expected(before.begin() + 1, before.end());
  expected.push_back(before[0]);
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), expected);
}

TEST(Retarget, HandsTheHeldCardToAnotherPile) {
  auto deck = DealtTableDeck(14);
  unsigned upcard = deck->CardIndexAt(DISCARD_PILE, 0);
  deck->PickUp(DISCARD_PILE, 0);
  deck->Retarget(HUMAN_PILE, true);
  EXPECT_EQ(deck->TopIndex(HUMAN_PILE), 10);
  EXPECT_EQ(deck->CardsInPile(DISCARD_PILE), 0u);
  deck->Drop();  // still over the discard pile, not over the hand: goes on top
  EXPECT_EQ(deck->CardsInPile(HUMAN_PILE), 11u);
  EXPECT_EQ(deck->CardIndexAt(HUMAN_PILE, 10), upcard);
}

TEST(Shuffle, PutsAHeldCardBackAndEmptiesThePiles) {
  auto deck = DealtTableDeck(15);
  deck->PickUp(HUMAN_PILE, 3);
  deck->Shuffle();
  EXPECT_EQ(deck->HeldCard(), nullptr);
  EXPECT_TRUE(deck->DisplayList().empty());
  for (uint32_t pile = 0; pile < 4; ++pile) EXPECT_EQ(deck->CardsInPile(pile), 0u);
}

TEST(Arrange, ReordersOnlyWhenTheOrderCoversThePile) {
  auto deck = DealtTableDeck(16);
  std::vector<unsigned> before = deck->PileCards(HUMAN_PILE);
  std::vector<unsigned> reversed(before.rbegin(), before.rend());
  deck->Arrange(HUMAN_PILE, reversed.data(), 9);
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), before);
  deck->Arrange(HUMAN_PILE, reversed.data(), 10);
  EXPECT_EQ(deck->PileCards(HUMAN_PILE), reversed);
}

TEST(HandSort, BySuitGroupsRedAndBlackAlternately) {
  std::vector<unsigned> hand = Cards("9C KD 3S 7H 2D AH");
  EXPECT_EQ(OrderBySuit(hand, SortDirection::ASCENDING), Cards("AH 7H 3S 2D KD 9C"));
  EXPECT_EQ(OrderBySuit(hand, SortDirection::DESCENDING), Cards("7H AH 3S KD 2D 9C"));
}

TEST(HandSort, ByValueComparesRankOnly) {
  std::vector<unsigned> hand = Cards("KC 2H AS 2D 10H AC");
  EXPECT_EQ(OrderByValue(hand, SortDirection::ASCENDING), Cards("AS AC 2H 2D 10H KC"));
  EXPECT_EQ(OrderByValue(hand, SortDirection::DESCENDING), Cards("KC 10H 2H 2D AS AC"));
}

TEST(HandSort, SortsTheHumansPile) {
  auto deck = DealtTableDeck(17);
  SortPile(*deck, HUMAN_PILE, HandSort::BY_VALUE, SortDirection::ASCENDING);
  std::vector<unsigned> cards = deck->PileCards(HUMAN_PILE);
  EXPECT_TRUE(std::is_sorted(cards.begin(), cards.end(), [](unsigned a, unsigned b) { return RankOf(a) < RankOf(b); }));
}

TEST(PilesHitTest, FindsTheTopmostCardAndMeasuresCoverage) {
  auto deck = DealtTableDeck(18);
  auto hit = deck->CardAtPoint({140, 300}, HUMAN_PILE);  // cards 0 and 1 both lie here
  ASSERT_TRUE(hit.has_value());
  EXPECT_EQ(hit->Position, 1u);
  EXPECT_EQ(hit->Corner.x, 134);
  EXPECT_FALSE(deck->CardAtPoint({90, 300}, HUMAN_PILE).has_value());
  const TRect& stock = deck->Pile(STOCK_PILE).Bounds;
  TRect half = {stock.left, stock.top, stock.left + stock.Width() / 2 + 1, stock.bottom};
  EXPECT_TRUE(deck->CoversPile(half, STOCK_PILE, 50.0));
  EXPECT_FALSE(deck->CoversPile(half, STOCK_PILE, 60.0));
}

// Whatever a hand holds, from none to eleven, its row lies inside the table
// and keeps the centre of the ten cards dealt, and a press on the part of
// a card that shows finds that card.
TEST(PilesHitTest, AHandOfAnyCountStandsCentredAndEachCardIsFoundWhereItShows) {
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE}) {
    const PileLayout& at = TABLE_PILES[pile];
    const int32_t tenCardsAcross = 2 * at.Position.x + 9 * at.Offset.x + CARD_SIZE.cx;  // twice the centre
    for (uint32_t n = 0; n <= 11; ++n) {
      SCOPED_TRACE(testing::Message() << "pile " << pile << ", " << n << " cards");
      NxDeck deck(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
      deck.Shuffle();
      deck.Deal(pile, n, at.Position, at.Offset, at.BaseLayer, true);
      const NxHand& hand = deck.Pile(pile);
      // Empty, the row keeps the place of a lone card for a card dropped on it.
      EXPECT_EQ(hand.Bounds.Intersection(TABLE_AREA), hand.Bounds);
      EXPECT_EQ(hand.Bounds.left + hand.Bounds.right, tenCardsAcross);
      EXPECT_EQ(hand.Bounds.Height(), CARD_SIZE.cy);
      for (uint32_t i = 0; i < n; ++i) {
        EXPECT_EQ(hand.CardAt(i)->Position(), SpreadCardCorner(at.Position, at.Offset, i, n)) << i;
        const TRect shown = ShownPart(hand, i);
        for (TPoint p : {TPoint{shown.left, shown.top}, TPoint{shown.right - 1, shown.bottom - 1}}) {
          const std::optional<CardHit> hit = deck.CardAtPoint(p, pile);
          ASSERT_TRUE(hit) << i;
          EXPECT_EQ(hit->Position, i);
          EXPECT_EQ(hit->Corner, hand.CardAt(i)->Position());
        }
      }
    }
  }
}

TEST(SetPileFace, TurnsEveryCardOfThePile) {
  auto deck = DealtTableDeck(19);
  deck->SetPileFace(COMPUTER_PILE, true);
  for (uint32_t i = 0; i < 10; ++i) EXPECT_TRUE(deck->Pile(COMPUTER_PILE).CardAt(i)->IsFaceUp());
}
