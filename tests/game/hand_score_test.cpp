#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/deadwood.h"
#include "game/hand_score.h"
#include "game/hand_sort.h"
#include "game/meld_marks.h"
#include "game/score_iterators.h"
#include "neural/random.h"
#include "test_hands.h"

namespace {
std::vector<unsigned> Deadwood(const NxHandScore& score) {
  std::vector<unsigned> cards;
  NxScoreUnmatchedIterator it(score);
  while (it.HasMore()) cards.push_back(it.Next());
  return cards;
}

// Each meld of the best arrangement as its cards.
std::vector<std::vector<unsigned>> Melds(const NxHandScore& score) {
  std::vector<std::vector<unsigned>> melds;
  NxScoreMatchIterator it(score);
  while (it.HasMore()) {
    std::vector<unsigned> cards;
    NxMatchIterator cardIt(*it.Next());
    while (cardIt.HasMore()) cards.push_back(cardIt.Next());
    melds.push_back(cards);
  }
  return melds;
}

NxHandScore Score(const std::vector<unsigned>& cards) { return NxHandScore(cards.data(), static_cast<unsigned>(cards.size())); }

// --- An independent reference: every run and set of the cards as a bit
// mask, then every choice of pairwise disjoint melds.
std::vector<uint64_t> AllMelds(uint64_t cards) {
  std::vector<uint64_t> melds;
  for (unsigned suit = 0; suit < 4; ++suit)
    for (unsigned low = 0; low < 13; ++low) {
      uint64_t run = 0;
      for (unsigned high = low; high < 13 && (cards >> MakeCard(suit, high) & 1); ++high) {
        run |= uint64_t{1} << MakeCard(suit, high);
        if (high - low >= 2) melds.push_back(run);
      }
    }
  for (unsigned rank = 0; rank < 13; ++rank) {
    std::vector<unsigned> members;
    for (unsigned suit = 0; suit < 4; ++suit)
      if (cards >> MakeCard(suit, rank) & 1) members.push_back(MakeCard(suit, rank));
    uint64_t all = 0;
    for (unsigned card : members) all |= uint64_t{1} << card;
    if (members.size() == 4) {
      melds.push_back(all);
      for (unsigned card : members) melds.push_back(all & ~(uint64_t{1} << card));
    } else if (members.size() == 3) {
      melds.push_back(all);
    }
  }
  return melds;
}

int32_t Points(uint64_t cards) {
  int32_t points = 0;
  for (unsigned card = 0; card < 52; ++card)
    if (cards >> card & 1) points += CardPoints[RankOf(card)];
  return points;
}

// Least points of `counted` cards left uncovered; every mask in `mustKeep`
// must lie inside one chosen meld of the same kind (a run inside a run, a
// set inside a set).
struct Reference {
  std::vector<uint64_t> Melds;
  uint64_t Counted;
  std::vector<uint64_t> MustKeep;
  int32_t Best = 1 << 30;

  static bool IsRun(uint64_t meld) {
    unsigned low = static_cast<unsigned>(__builtin_ctzll(meld));
    return (meld >> low & 2) != 0 && RankOf(low) < 12 && SuitOf(low) == SuitOf(low + 1);
  }
  bool Kept(uint64_t chosenMeld, uint64_t knocker) const {
    return (chosenMeld & knocker) == knocker && IsRun(chosenMeld) == IsRun(knocker);
  }
  void Search(size_t next, uint64_t covered, std::vector<uint64_t>& chosen) {
    bool valid = true;
    for (uint64_t knocker : MustKeep)
      valid = valid && std::any_of(chosen.begin(), chosen.end(), [&](uint64_t m) { return Kept(m, knocker); });
    if (valid) Best = std::min(Best, Points(Counted & ~covered));
    for (size_t i = next; i < Melds.size(); ++i) {
      if (Melds[i] & covered) continue;
      chosen.push_back(Melds[i]);
      Search(i + 1, covered | Melds[i], chosen);
      chosen.pop_back();
    }
  }
};

uint64_t Mask(const std::vector<unsigned>& cards) {
  uint64_t mask = 0;
  for (unsigned card : cards) mask |= uint64_t{1} << card;
  return mask;
}

int32_t ReferenceDeadwood(const std::vector<unsigned>& hand, const std::vector<uint64_t>& knockerMelds = {}) {
  uint64_t all = Mask(hand);
  for (uint64_t meld : knockerMelds) all |= meld;
  Reference reference{AllMelds(all), Mask(hand), knockerMelds};
  std::vector<uint64_t> chosen;
  reference.Search(0, 0, chosen);
  return reference.Best;
}

std::vector<unsigned> RandomHand(NxRandomGenerator& gen, std::vector<unsigned> pool, unsigned size) {
  for (unsigned i = 0; i < size; ++i) std::swap(pool[i], pool[i + static_cast<unsigned>(gen.rand()) % (pool.size() - i)]);
  pool.resize(size);
  return pool;
}

std::vector<unsigned> WholeDeck() {
  std::vector<unsigned> deck(52);
  for (unsigned i = 0; i < 52; ++i) deck[i] = i;
  return deck;
}

std::vector<unsigned> FiveRanks(unsigned low) {
  std::vector<unsigned> pool;
  for (unsigned suit = 0; suit < 4; ++suit)
    for (unsigned rank = low; rank < low + 5; ++rank) pool.push_back(MakeCard(suit, rank));
  return pool;
}
}  // namespace

TEST(HandScore, AHandWithoutMeldsIsAllDeadwoodInInputOrder) {
  auto hand = Cards("KH 2S 9D 4C QH 7S AD 5C 10S 3D");
  NxHandScore score = Score(hand);
  EXPECT_EQ(score.BestDeadwood(), 10 + 2 + 9 + 4 + 10 + 7 + 1 + 5 + 10 + 3);
  EXPECT_TRUE(Melds(score).empty());
  EXPECT_EQ(Deadwood(score), hand);
}

TEST(HandScore, RunsAreAceLowWithoutWrapping) {
  EXPECT_EQ(Melds(Score(Cards("AH 2H 3H 9S 9D 5C 7C JD 4S KD"))), (std::vector<std::vector<unsigned>>{Cards("AH 2H 3H")}));
  EXPECT_TRUE(Melds(Score(Cards("QH KH AH 5C 7C 9C JD 2S 4S 6S"))).empty());
  NxHandScore ten = Score(Cards("AS 2S 3S 4S 5S 6S 7S 8S 9S 10S"));
  EXPECT_EQ(ten.BestDeadwood(), 0);
  EXPECT_EQ(Melds(ten).size(), 1u);
}

TEST(HandScore, AmongEqualArrangementsTheFirstReachedWins) {
  // Dropping the J-Q-K run is explored first, so the kings are kept.
  NxHandScore score = Score(Cards("JH QH KH KS KD 2C 4C 6C 8S 9D"));
  EXPECT_EQ(score.BestDeadwood(), 49);
  EXPECT_EQ(Melds(score), (std::vector<std::vector<unsigned>>{Cards("KH KD KS")}));
  auto dead = Deadwood(score);
  EXPECT_NE(std::find(dead.begin(), dead.end(), Cards("JH")[0]), dead.end());
  EXPECT_NE(std::find(dead.begin(), dead.end(), Cards("QH")[0]), dead.end());
}

TEST(HandScore, ARunAndAThreeCardSubSetShareNothing) {
  NxHandScore score = Score(Cards("5H 6H 7H 7D 7S 7C 2C 9S 4D JC"));
  EXPECT_EQ(score.BestDeadwood(), 2 + 9 + 4 + 10);
  EXPECT_EQ(Melds(score), (std::vector<std::vector<unsigned>>{Cards("5H 6H 7H"), Cards("7D 7S 7C")}));
}

TEST(HandScore, ARunOfSixSplitInTheMiddleKeepsBothHalves) {
  // The halves A-3 and 4-6 share no card; with the three other threes they
  // are reached before the whole run is kept.
  NxHandScore score = Score(Cards("AH 2H 3H 4H 5H 6H 3S 3C 3D KC"));
  EXPECT_EQ(score.BestDeadwood(), 10);
  EXPECT_EQ(Melds(score), (std::vector<std::vector<unsigned>>{Cards("AH 2H 3H"), Cards("4H 5H 6H"), Cards("3D 3S 3C")}));
  EXPECT_FALSE(NxMatch::Overlaps(NxMatch(0u, 2u), NxMatch(3u, 5u)));
}

TEST(HandScore, TheGinIteratorEndsAtOnce) {
  NxHandScore score = Score(Cards("AH 2H 3H 4H 7S 7D 7C KS KD KC"));
  EXPECT_EQ(score.BestDeadwood(), 0);
  NxScoreUnmatchedIterator it(score);
  EXPECT_FALSE(it.HasMore());
  EXPECT_EQ(it.Next(), ITERATOR_END);
  NxMatchIterator run(score.BestCase()->Melds[0]);
  for (int i = 0; i < 4; ++i) run.Next();
  EXPECT_EQ(run.Next(), ITERATOR_END);
}

// Which of two equal arrangements wins, and the order of the deadwood, are
// part of play: the computer reads its deadwood in this order and the
// defender lays off on the knocker's melds as shown. These hands pin both.
TEST(HandScore, DenseHandsKeepTheirArrangementAndDeadwoodOrder) {
  struct Case {
    const char* Hand;
    std::vector<const char*> Melds;
    const char* Deadwood;
  };
  const Case cases[] = {
      {"6H 8S 5D 7D 5C 4D 6S 7H 8C 6D", {"4D 5D 6D 7D"}, "8S 5C 7H 8C 6H 6S"},
      {"9C 10H JS JH KD KC 9H 9D 9S 10S", {"9H 10H JH", "9S 10S JS"}, "KD KC 9D 9C"},
      {"2S 2H 4H 2C 4C 3C 5H 3H 3S 5D", {"2H 3H 4H 5H", "2C 3C 4C"}, "5D 3S 2S"},
      {"6C 2H 5D 4C 6H 3H 4D 4S 6S 6D", {"4D 4S 4C", "6H 6D 6S 6C"}, "2H 3H 5D"},
  };
  for (const Case& c : cases) {
    NxHandScore score = Score(Cards(c.Hand));
    std::vector<std::vector<unsigned>> melds;
    for (const char* meld : c.Melds) melds.push_back(Cards(meld));
    EXPECT_EQ(Melds(score), melds) << c.Hand;
    EXPECT_EQ(Deadwood(score), Cards(c.Deadwood)) << c.Hand;
  }
  NxHandScore knocker = Score(Cards("5H 6H 7H 9S 9D 9C KS 2C 3D AS"));
  auto defender = Cards("4H 8H 9H 3H 10H 5S 6S 7S 8S 2D");
  NxHandScore layoff(defender.data(), 10, &knocker);
  EXPECT_EQ(layoff.BestDeadwood(), 2);
  EXPECT_EQ(Melds(layoff), (std::vector<std::vector<unsigned>>{Cards("8H 9H 10H"), Cards("3H 4H 5H 6H 7H"),
                                                                  Cards("5S 6S 7S 8S"), Cards("9D 9S 9C")}));
  EXPECT_EQ(Deadwood(layoff), Cards("2D"));
}

TEST(HandScore, AgreesWithExhaustiveEnumerationOnRandomHands) {
  NxRandomGenerator gen;
  gen.Seed = 2024;
  gen.InitTable();
  for (int i = 0; i < 20000; ++i) {
    const unsigned size = i % 3 == 2 ? 11 : 10;
    auto hand = i % 2 ? RandomHand(gen, FiveRanks(static_cast<unsigned>(gen.rand()) % 9), size)
                      : RandomHand(gen, WholeDeck(), size);
    NxHandScore score = Score(hand);
    const int32_t least = ReferenceDeadwood(hand);
    ASSERT_EQ(score.BestDeadwood(), least) << ::testing::PrintToString(hand);
    ASSERT_EQ(LeastDeadwood(Mask(hand)), least) << ::testing::PrintToString(hand);
    // The arrangement read through the iterators adds up to the deadwood.
    int32_t points = 0;
    for (unsigned card : Deadwood(score)) points += CardPoints[RankOf(card)];
    ASSERT_EQ(points, score.BestDeadwood());
    // Sort by Melds keeps every card and ends with the deadwood by rising value.
    if (i % 10 == 0) {
      const std::vector<uint32_t> cards(hand.begin(), hand.end());
      const std::vector<uint32_t> order = OrderByMelds(cards);
      const std::vector<unsigned> deadwood = Deadwood(score);
      ASSERT_TRUE(std::is_permutation(order.begin(), order.end(), cards.begin(), cards.end()));
      ASSERT_GE(order.size(), deadwood.size());
      const std::vector<uint32_t> tail(order.end() - static_cast<std::ptrdiff_t>(deadwood.size()), order.end());
      ASSERT_TRUE(std::is_permutation(tail.begin(), tail.end(), deadwood.begin(), deadwood.end()));
      ASSERT_TRUE(std::is_sorted(tail.begin(), tail.end(), [](uint32_t a, uint32_t b) { return RankOf(a) < RankOf(b); }));
    }
  }
}

TEST(HandScore, LayoffModeAgreesWithExhaustiveEnumeration) {
  NxRandomGenerator gen;
  gen.Seed = 77;
  gen.InitTable();
  int checked = 0;
  while (checked < 3000) {
    auto pool = (checked % 2) ? FiveRanks(static_cast<unsigned>(gen.rand()) % 9) : WholeDeck();
    // Shuffle the pool and split it into the knocker's and the defender's.
    auto both = RandomHand(gen, pool, 20);
    std::vector<unsigned> knockerHand(both.begin(), both.begin() + 10), defender(both.begin() + 10, both.end());
    NxHandScore knocker = Score(knockerHand);
    if (knocker.BestCase()->Melds.empty()) continue;
    std::vector<uint64_t> knockerMelds;
    for (const auto& meld : Melds(knocker)) knockerMelds.push_back(Mask(meld));
    NxHandScore layoff(defender.data(), 10, &knocker);
    ASSERT_EQ(layoff.BestDeadwood(), ReferenceDeadwood(defender, knockerMelds)) << ::testing::PrintToString(both);
    ++checked;
  }
}

// The table's meld marks are the best arrangement: every marked group is a
// set or a run, the shaded cards add up to the least deadwood, and the
// groups are numbered in the order their leftmost cards lie in the hand. A
// hand without a meld is not marked at all.
TEST(HandScore, MeldMarksShowTheBestArrangementFromLeftToRight) {
  for (int32_t seed = 1; seed <= 400; ++seed) {
    const std::unique_ptr<NxDeck> deck = DealtTableDeck(seed * 31);
    const std::vector<unsigned> hand = deck->PileCards(HUMAN_PILE);
    const CardMarks marks = MeldMarks(*deck, HUMAN_PILE);
    const int32_t least = LeastDeadwood(CardMask(hand.data(), static_cast<unsigned>(hand.size())));
    if (Score(hand).BestCase()->Melds.empty()) {
      ASSERT_EQ(marks, CardMarks{}) << seed;
      continue;
    }
    int32_t shaded = 0;
    std::map<uint8_t, std::vector<unsigned>> groups;
    std::map<uint8_t, size_t> leftmost;
    for (unsigned card = 0; card < NUM_CARDS; ++card) {
      const auto at = std::find(hand.begin(), hand.end(), card);
      if (at == hand.end()) {
        ASSERT_EQ(marks[card], NO_MARK);
        continue;
      }
      ASSERT_NE(marks[card], NO_MARK);
      if (marks[card] == DEADWOOD_MARK) {
        shaded += CardPoints[RankOf(card)];
        continue;
      }
      groups[marks[card]].push_back(card);
      const size_t position = static_cast<size_t>(at - hand.begin());
      if (!leftmost.count(marks[card]) || position < leftmost[marks[card]]) leftmost[marks[card]] = position;
    }
    ASSERT_EQ(shaded, least) << seed;
    uint8_t expected = 1;
    size_t previous = 0;
    for (auto& [number, cards] : groups) {
      ASSERT_EQ(number, expected++) << seed;
      ASSERT_TRUE(number == 1 || leftmost[number] > previous) << seed;
      previous = leftmost[number];
      ASSERT_GE(cards.size(), 3u);
      std::sort(cards.begin(), cards.end());
      const bool set = std::all_of(cards.begin(), cards.end(), [&](unsigned c) { return RankOf(c) == RankOf(cards[0]); });
      bool run = true;
      for (size_t k = 1; k < cards.size(); ++k)
        run = run && SuitOf(cards[k]) == SuitOf(cards[0]) && RankOf(cards[k]) == RankOf(cards[k - 1]) + 1;
      ASSERT_TRUE(set || run) << seed << " " << ::testing::PrintToString(cards);
    }
  }
}
