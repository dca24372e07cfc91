#include <gtest/gtest.h>

#include <initializer_list>

#include "player/position_network.h"
#include "training/teacher_value.h"

namespace {

constexpr double HELD = 0.9, DISCARDED = -0.2, OPPONENTS = 0.2;

uint64_t Cards(std::initializer_list<unsigned> ids) {
  uint64_t mask = 0;
  for (unsigned id : ids) mask |= uint64_t{1} << id;
  return mask;
}

unsigned Cell(unsigned card) { return (card / 13) * 14 + card % 13; }

struct View {
  double Cells[POSITION_CELLS] = {};
  View& Set(std::initializer_list<unsigned> cards, double value) {
    for (unsigned card : cards) Cells[Cell(card)] = value;
    return *this;
  }
  double Value(const TeacherWeights& weights = {}) const { return TeacherValue(Cells, weights); }
};

// Card ids: suit x 13 + rank (0 = ace).
constexpr unsigned ACE0 = 0, TWO0 = 1, THREE0 = 2, FOUR0 = 3, FIVE0 = 4, SIX0 = 5, SEVEN0 = 6, EIGHT0 = 7;
constexpr unsigned SEVEN1 = 19, SEVEN2 = 32, SEVEN3 = 45, KING1 = 25, QUEEN2 = 37, NINE3 = 47;

}  // namespace

TEST(LiveHalfMeldWays, CountsTheCardsThatWouldFinishEachHalfMeld) {
  // A pair waits for either of the two other cards of its rank.
  EXPECT_EQ(LiveHalfMeldWays(Cards({SEVEN0, SEVEN1}), 0), 2);
  EXPECT_EQ(LiveHalfMeldWays(Cards({SEVEN0, SEVEN1}), Cards({SEVEN2})), 1);
  EXPECT_EQ(LiveHalfMeldWays(Cards({SEVEN0, SEVEN1}), Cards({SEVEN2, SEVEN3})), 0);
  // Neighbours wait at both ends, except past the ace or the king.
  EXPECT_EQ(LiveHalfMeldWays(Cards({FIVE0, SIX0}), 0), 2);
  EXPECT_EQ(LiveHalfMeldWays(Cards({ACE0, TWO0}), 0), 1);
  EXPECT_EQ(LiveHalfMeldWays(Cards({11 + 13, KING1}), 0), 1);
  // A gap of one waits for the card between; runs never wrap from king to ace.
  EXPECT_EQ(LiveHalfMeldWays(Cards({FIVE0, SEVEN0}), 0), 1);
  EXPECT_EQ(LiveHalfMeldWays(Cards({FIVE0, SEVEN0}), Cards({SIX0})), 0);
  EXPECT_EQ(LiveHalfMeldWays(Cards({KING1, 13}), 0), 0);
  // Unrelated cards wait for nothing.
  EXPECT_EQ(LiveHalfMeldWays(Cards({ACE0, SEVEN1, QUEEN2, NINE3}), 0), 0);
  // A held run counts the cards that would extend it; the least deadwood
  // tells melds from half-melds.
  EXPECT_EQ(LiveHalfMeldWays(Cards({FIVE0, SIX0, SEVEN0}), 0), 2);
}

TEST(TeacherValue, PrefersLessDeadwoodAndLiveHalfMelds) {
  const unsigned hand[] = {ACE0, TWO0, THREE0, SEVEN0, SEVEN1, KING1, QUEEN2, NINE3, FIVE0 + 13, EIGHT0 + 26};
  View all;
  for (unsigned card : hand) all.Set({card}, HELD);
  // The run A-2-3 leaves 7, 7, K, Q, 9, 5, 8 = 56 points. Four live ways,
  // half a point each: the two other sevens, the six between the five and
  // the seven of suit 1, and the four after the run.
  const TeacherWeights noLookAhead{0.5, 2.0, 0.0};
  EXPECT_NEAR(all.Value(noLookAhead), 0.5 - 0.004 * (56 - 0.5 * 4), 1e-12);
  // The expected saving of the next draw comes on top, a point per point.
  uint64_t held = 0;
  for (unsigned card : hand) held |= uint64_t{1} << card;
  EXPECT_NEAR(all.Value() - all.Value(noLookAhead), 0.004 * ExpectedDrawSaving(held, 0), 1e-12);
  EXPECT_GT(ExpectedDrawSaving(held, 0), 0.0);

  // Throwing the king beats throwing the nine by one point of deadwood.
  View noKing = all, noNine = all;
  noKing.Set({KING1}, DISCARDED);
  noNine.Set({NINE3}, DISCARDED);
  EXPECT_NEAR(noKing.Value() - noNine.Value(), 0.004, 1e-12);

  // A dead pair of sevens is worth less than a live one.
  View dead = all;
  dead.Set({SEVEN2, SEVEN3}, DISCARDED);
  View known = all;
  known.Set({SEVEN2}, OPPONENTS).Set({SEVEN3}, DISCARDED);
  EXPECT_LT(dead.Value(), all.Value());
  EXPECT_DOUBLE_EQ(known.Value(), dead.Value());
}

TEST(ExpectedDrawSaving, AveragesWhatEachConnectingCardSaves) {
  constexpr unsigned KING3 = 51, QUEEN3 = 50, TWO2 = 27;
  const uint64_t held = Cards({SEVEN0, SEVEN1, KING3});  // 24 points
  const uint64_t open = Cards({SEVEN2, SEVEN3, QUEEN3, TWO2});
  const uint64_t gone = ~(held | open) & ((uint64_t{1} << 52) - 1);
  // Either seven makes a set and the king goes: 24 points saved. The queen
  // connects with the king but saves nothing; the two connects with nothing.
  EXPECT_DOUBLE_EQ(ExpectedDrawSaving(held, gone), (24 + 24 + 0 + 0) / 4.0);
  // A card that can no longer come is no longer counted.
  EXPECT_DOUBLE_EQ(ExpectedDrawSaving(held, gone | Cards({SEVEN2})), 24 / 3.0);
  EXPECT_DOUBLE_EQ(ExpectedDrawSaving(held, gone | open), 0.0);
  // The card between two of a suit finishes a run: 5 + 7 + 10 saved.
  const uint64_t gap = Cards({FIVE0, SEVEN0, KING1});
  const uint64_t onlySix = ~(gap | Cards({SIX0})) & ((uint64_t{1} << 52) - 1);
  EXPECT_DOUBLE_EQ(ExpectedDrawSaving(gap, onlySix), 22.0);
}

TEST(TeacherValue, AddsTheTakeBonusOnlyAfterADrawFromTheDiscardPile) {
  View view;
  view.Set({ACE0, KING1}, HELD);
  view.Cells[27] = 0.1;
  double fromStock = view.Value();
  view.Cells[27] = 0.9;
  EXPECT_NEAR(view.Value() - fromStock, 0.004 * TeacherWeights{}.TakePoints, 1e-12);
  EXPECT_DOUBLE_EQ(view.Value({0.5, 0.0}), fromStock);
}
