#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/deadwood.h"
#include "player/arena_match.h"
#include "player/master_player.h"
#include "player/net_player.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace {

constexpr uint32_t C(uint32_t suit, uint32_t rank) { return MakeCard(suit, rank); }

// Exchanges the computer's cards that the human seat has not seen taken
// with stock cards: a deal the human seat cannot tell from the real one.
void ShuffleHidden(NxDeck& deck, const MasterBelief& belief, uint32_t turn) {
  std::vector<uint32_t> hidden;
  for (uint32_t card : deck.PileCards(COMPUTER_PILE))
    if (!(belief.OtherHeld() >> card & 1)) hidden.push_back(card);
  for (uint32_t k = 0; k < std::min<size_t>(hidden.size(), 3) && deck.CardsInPile(STOCK_PILE) > 1; ++k) {
    deck.MoveCard(COMPUTER_PILE, *deck.PositionOf(COMPUTER_PILE, hidden[k]), STOCK_PILE, false);
    deck.MoveCard(STOCK_PILE, (turn * 5 + k) % (deck.CardsInPile(STOCK_PILE) - 1), COMPUTER_PILE, false);
  }
}

// Plays the human seat with Master and, before each move, asks two copies
// of it as it stood before the decision: one on the same table, one on a
// table whose hidden cards were exchanged. Both must choose the same move.
// With an adviser (the top level's player) its choice, made once, is the
// move to beat in all three.
GameStanding Standing(GameFlow& flow) { return StandingOf(flow.Record(), HUMAN_PILE); }

class CheckedMaster : public SeatPlayer {
 public:
  CheckedMaster(const MasterBudget& budget, uint64_t seed, std::unique_ptr<NetPlayer> adviser)
      : Master(HUMAN_PILE, budget, seed), Adviser(std::move(adviser)) {}
  const char* Name() const override { return "checked master"; }
  void StartHand(GameFlow& flow) override {
    if (Adviser) Adviser->StartHand(flow);
    Master.StartHand(flow);
  }
  bool Move(GameFlow& flow) override {
    SeatMove advised;
    if (Adviser) advised = Adviser->Suggest(flow);
    const SeatMove* advice = Adviser ? &advised : nullptr;
    const MasterPlayer before = Master;
    const SeatMove move = Master.Choose(flow.State(), flow.Deck(), Standing(flow), advice);
    MasterPlayer again = before;
    if (!IsSameMove(again.Choose(flow.State(), flow.Deck(), Standing(flow), advice), move)) ++Differences;
    ShuffleHidden(flow.Deck(), Master.Knowledge(), ++Decisions);
    MasterPlayer blind = before;
    if (!IsSameMove(blind.Choose(flow.State(), flow.Deck(), Standing(flow), advice), move)) ++HiddenDependence;
    if (Adviser && !IsSameMove(advised, move)) ++Overrides;
    return Adviser ? Adviser->Follow(flow, move) : MakeSeatMove(flow, move);
  }

  MasterPlayer Master;
  std::unique_ptr<NetPlayer> Adviser;
  uint32_t Overrides = 0;
  uint32_t Decisions = 0;
  uint32_t Differences = 0;
  uint32_t HiddenDependence = 0;
};

// Moves `card`, wherever it lies, to the top of `pile`.
void Put(NxDeck& deck, uint32_t card, uint32_t pile) {
  for (uint32_t from : {HUMAN_PILE, COMPUTER_PILE, STOCK_PILE, DISCARD_PILE})
    if (const auto at = deck.PositionOf(from, card)) return deck.MoveCard(from, *at, pile, pile != COMPUTER_PILE && pile != STOCK_PILE);
}

// A standard hand set up card by card: the human seat holds `own` (eleven
// cards: its turn to discard), the discard pile is `pile`; the rest of the
// deck is shared out by the deal.
struct Scene {
  explicit Scene(const std::vector<uint32_t>& own) {
    table.Flow.NewGame(false, false);
    for (uint32_t i = table.Deck.CardsInPile(HUMAN_PILE); i-- > 0;) table.Deck.MoveCard(HUMAN_PILE, i, STOCK_PILE, false);
    for (uint32_t i = table.Deck.CardsInPile(DISCARD_PILE); i-- > 0;) table.Deck.MoveCard(DISCARD_PILE, i, STOCK_PILE, false);
    for (uint32_t card : own) Put(table.Deck, card, HUMAN_PILE);
    // The computer's hand must be free of the human's cards.
    while (table.Deck.CardsInPile(COMPUTER_PILE) > 10) table.Deck.MoveCard(COMPUTER_PILE, 0, STOCK_PILE, false);
    for (uint32_t i = 0; table.Deck.CardsInPile(COMPUTER_PILE) < 10; ++i) Put(table.Deck, table.Deck.CardIndexAt(STOCK_PILE, 0), COMPUTER_PILE);
    TableScenario::State(table).KnockLimit = STANDARD_KNOCK_LIMIT;
    TableScenario::State(table).Offer = NORMAL_PLAY;
    TableScenario::State(table).UpcardTaken = NoCard;
    TableScenario::State(table).Play = HumanDiscard;
    master.StartHand(table.State(), table.Deck);
  }

  // The human seat throws `mine`, the other player takes it and throws
  // `theirs`, and the human seat draws `drawn` from the stock.
  void OtherTakes(uint32_t mine, uint32_t theirs, uint32_t drawn) {
    TableScenario::State(table).Play = HumanDiscard;
    master.Begin(table.State(), table.Deck, StandingOf(table.Record, HUMAN_SEAT));
    Put(table.Deck, mine, DISCARD_PILE);
    Put(table.Deck, mine, COMPUTER_PILE);
    Put(table.Deck, theirs, COMPUTER_PILE);  // it must hold it before it throws it
    Put(table.Deck, theirs, DISCARD_PILE);
    taken.push_back(mine);
    // Back to ten cards, keeping every card it was seen to take.
    for (uint32_t i = 0; table.Deck.CardsInPile(COMPUTER_PILE) > 10;) {
      if (std::find(taken.begin(), taken.end(), table.Deck.CardIndexAt(COMPUTER_PILE, i)) != taken.end()) ++i;
      else table.Deck.MoveCard(COMPUTER_PILE, i, STOCK_PILE, false);
    }
    TableScenario::State(table).Play = HumanTake;
    master.Begin(table.State(), table.Deck, StandingOf(table.Record, HUMAN_SEAT));
    Put(table.Deck, drawn, HUMAN_PILE);
    TableScenario::State(table).Play = HumanDiscard;
  }

  uint32_t CardAt(const SeatMove& move) { return table.Deck.CardIndexAt(HUMAN_PILE, move.Position); }

  std::vector<uint32_t> taken;
  ScratchInstallation install;
  HeadlessTable table{3};
  MasterPlayer master{HUMAN_PILE, MasterBudget{400, 0}, 7};
};

}  // namespace

// The class of faults hunted: a move the flow refuses, a decision that
// changes between two runs of the same search, and one that reads the
// other hand or the stock. Seeded games against the top level's networks.
TEST(MasterPlayer, DecisionsAreLegalRepeatableAndBlindToHiddenCards) {
  ScratchInstallation install;
  uint32_t overrides = 0;
  for (int32_t seed : {3, 17})
    for (bool advised : {false, true}) {
      MatchOptions options;
      options.Level = 3;
      options.Seed = seed;
      CheckedMaster* master = nullptr;
      ArenaMatch match(options, [&](GameFlow& flow) {
        auto adviser = advised ? std::make_unique<NetPlayer>(flow, 3, install.Path("QLDEFLT.QLF")) : nullptr;
        auto player = std::make_unique<CheckedMaster>(MasterBudget{12, 0}, static_cast<uint64_t>(seed),
                                                      std::move(adviser));
        master = player.get();
        return player;
      });
      MatchStats stats;
      ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
      ASSERT_NE(master, nullptr);
      EXPECT_GT(master->Decisions, 20u);
      EXPECT_EQ(master->Differences, 0u);
      EXPECT_EQ(master->HiddenDependence, 0u);
      overrides += master->Overrides;
    }
  // The moves made against the adviser's choice went through the flow too.
  EXPECT_GT(overrides, 0u);
}

// With a single world the search never trusts another move over its
// adviser's, so Master plays exactly the top level's games, in either
// seat: its advice is read, and its position kept, as that player's own.
TEST(MasterPlayer, WithOneWorldPlaysTheTopLevelsGames) {
  ScratchInstallation install;
  const std::string file = install.Path("QLDEFLT.QLF");
  MatchOptions options;
  options.Level = 3;
  options.Seed = 29;
  auto play = [&](const ArenaMatch::SeatFactory& human, bool masterComputer) {
    MasterDecider decider(MasterBudget{1, 0}, 3);
    ArenaMatch match(options, human);
    if (masterComputer) match.Computer().SetDecider(&decider), decider.TakeAdviceFrom(&match.Computer());
    MatchStats stats;
    for (int game = 0; game < 2; ++game) EXPECT_TRUE(match.PlayGame(stats)) << match.Problem();
    match.Computer().SetDecider(nullptr);
    return std::vector<uint64_t>{stats.Hands, stats.Points[0], stats.Points[1], stats.GamesWon[0]};
  };
  auto net = [&](GameFlow& flow) { return std::make_unique<NetPlayer>(flow, 3, file); };
  auto master = [&](GameFlow& flow) { return std::make_unique<AdvisedMaster>(flow, file, MasterBudget{1, 0}, 5); };
  auto simple = [](GameFlow&) { return std::make_unique<SimplePlayer>(); };
  EXPECT_EQ(play(master, false), play(net, false));
  EXPECT_EQ(play(simple, true), play(simple, false));
}

// In the computer seat Master's choices go through the computer player,
// which must accept them and play the same games for the same seeds.
TEST(MasterPlayer, DecidesForTheComputerSeatRepeatably) {
  ScratchInstallation install;
  uint64_t points[2][2] = {};
  for (int run = 0; run < 2; ++run) {
    MatchOptions options;
    options.Level = 3;
    options.Seed = 21;
    MasterDecider decider(MasterBudget{12, 0}, 5);
    ArenaMatch match(options, [](GameFlow&) { return std::make_unique<SimplePlayer>(); });
    match.Computer().SetDecider(&decider);
    MatchStats stats;
    ASSERT_TRUE(match.PlayGame(stats)) << match.Problem();
    points[run][0] = stats.Points[0];
    points[run][1] = stats.Points[1];
    EXPECT_GT(decider.Master().Times().Count(), 20u);
    match.Computer().SetDecider(nullptr);
  }
  EXPECT_EQ(points[0][0], points[1][0]);
  EXPECT_EQ(points[0][1], points[1][1]);
}

// Deadwood 10 after throwing the king, with the stock long, against a
// player seen to collect a run of clubs, three aces and two more low
// cards while throwing only courts: an undercut is likely, and Master
// does not knock.
TEST(MasterPlayer, DoesNotKnockIntoAnUndercut) {
  Scene scene({C(HEARTS, 1), C(HEARTS, 2), C(HEARTS, 3), C(SPADES, 7), C(DIAMONDS, 7), C(CLUBS, 7), C(DIAMONDS, 8),
               C(DIAMONDS, 9), C(DIAMONDS, 10), C(CLUBS, 0), C(CLUBS, 1)});
  const uint32_t fed[][3] = {{C(CLUBS, 0), C(HEARTS, 12), C(CLUBS, 2)},   {C(CLUBS, 1), C(HEARTS, 11), C(CLUBS, 3)},
                             {C(CLUBS, 2), C(CLUBS, 12), C(DIAMONDS, 0)}, {C(CLUBS, 3), C(CLUBS, 11), C(SPADES, 0)},
                             {C(DIAMONDS, 0), C(HEARTS, 10), C(DIAMONDS, 2)}, {C(SPADES, 0), C(SPADES, 10), C(SPADES, 1)},
                             {C(DIAMONDS, 2), C(SPADES, 11), C(SPADES, 9)}, {C(SPADES, 1), C(CLUBS, 10), C(SPADES, 12)}};
  for (const auto& step : fed) scene.OtherTakes(step[0], step[1], step[2]);
  ASSERT_EQ(LeastDeadwood(scene.master.Knowledge().OwnMask() & ~(uint64_t{1} << C(SPADES, 12))), 10);
  EXPECT_GE(scene.table.Deck.CardsInPile(STOCK_PILE), 20u);
  const SeatMove move = scene.master.Choose(scene.table.State(), scene.table.Deck, StandingOf(scene.table.Record, HUMAN_SEAT));
  EXPECT_EQ(move.What, SeatMove::DISCARD);
}

// The other player took two sevens and the third lies dead in the pile:
// the seven of spades would complete its set. The rule throws the highest
// loose card, the seven; Master throws another.
TEST(MasterPlayer, DoesNotFeedWhatTheOtherPlayerCollects) {
  Scene scene({C(CLUBS, 8), C(CLUBS, 9), C(CLUBS, 10), C(HEARTS, 11), C(DIAMONDS, 11), C(SPADES, 11), C(HEARTS, 6),
               C(DIAMONDS, 6), C(CLUBS, 4), C(DIAMONDS, 3), C(SPADES, 2)});
  Put(scene.table.Deck, C(CLUBS, 6), DISCARD_PILE);
  scene.master.StartHand(scene.table.State(), scene.table.Deck);
  scene.OtherTakes(C(HEARTS, 6), C(HEARTS, 12), C(SPADES, 6));
  scene.OtherTakes(C(DIAMONDS, 6), C(DIAMONDS, 12), C(DIAMONDS, 1));
  const SeatMove move = scene.master.Choose(scene.table.State(), scene.table.Deck, StandingOf(scene.table.Record, HUMAN_SEAT));
  EXPECT_EQ(move.What, SeatMove::DISCARD);
  EXPECT_NE(scene.CardAt(move), C(SPADES, 6));
}

// The rollout's discard skips the meld search for cards that can never
// meld. Over seeded hands crowded into few suits, so that most cards can,
// it must leave exactly the least deadwood that trying every card leaves,
// and never throw the card it must keep.
TEST(MasterPlayer, RolloutDiscardLeavesTheLeastDeadwood) {
  uint64_t state = 2024;
  auto next = [&] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  };
  for (int trial = 0; trial < 3000; ++trial) {
    const uint32_t span = 16 + next() % (NUM_CARDS - 15);
    uint64_t hand = 0;
    std::vector<uint32_t> cards;
    while (cards.size() < 11) {
      const uint32_t card = next() % span;
      if (!(hand >> card & 1)) hand |= uint64_t{1} << card, cards.push_back(card);
    }
    const uint32_t keep = next() % 2 ? cards[next() % 11] : NoCard;
    int32_t least = INT32_MAX;
    for (uint32_t card : cards)
      if (card != keep) least = std::min(least, LeastDeadwood(hand & ~(uint64_t{1} << card)));
    int32_t deadwood;
    const uint32_t drop = MasterRollout::BestDiscard(hand, keep, deadwood);
    ASSERT_NE(drop, keep) << trial;
    ASSERT_TRUE(hand >> drop & 1) << trial;
    EXPECT_EQ(deadwood, least) << trial;
    EXPECT_EQ(LeastDeadwood(hand & ~(uint64_t{1} << drop)), least) << trial;
  }
}

// Master thinks in slices with the window's events between them. A command
// in one of them that replaces the hand stops the search at once, and the
// move thought out for the old hand is never made in the new one; a close
// request stops it too, and the move is made on the hand it was meant for.
TEST(MasterPlayer, ACommandWhileItThinksStopsTheSearchAndNoStaleMoveIsMade) {
  ScratchInstallation install;
  uint32_t replaced = 0, closed = 0;
  for (int32_t seed = 1; seed <= 8; ++seed) {
    HeadlessTable t(3, STANDARD_GIN, false, seed);
    t.View.Watch(&t.State());
    t.Computer->PlayAsMaster(true);
    ASSERT_TRUE(t.Computer->PlaysAsMaster());
    t.Flow.NewGame(false, false);
    SimplePlayer person;
    const bool closes = seed % 3 == 0;
    uint64_t wantedAt = 0, waitsAtCommand = 0, handBefore = 0;
    for (int turn = 0; turn < 60 && !t.State().HandOver && !t.State().ClosingRequested; ++turn) {
      if (t.State().Play == HumanTake || t.State().Play == HumanDiscard) {
        ASSERT_TRUE(person.Move(t.Flow));
        continue;
      }
      // The command comes during the computer's third decision.
      if (turn >= 4 && wantedAt == 0) {
        wantedAt = t.View.WaitTimes.size() + 1 + static_cast<uint32_t>(seed) % 5;
        handBefore = t.Flow.HandSerial();
        t.View.DuringWaitNumber = static_cast<uint32_t>(wantedAt);
        t.View.DuringWait = [&] {
          waitsAtCommand = t.View.WaitTimes.size();
          if (closes)
            TableScenario::State(t).ClosingRequested = true;
          else
            t.Flow.NewGame(false, true);
        };
      }
      t.Flow.IdleStep();
      if (waitsAtCommand == 0) continue;
      // The search's slices wait no time; the move's own waits do.
      const auto after = t.View.WaitTimes.begin() + static_cast<std::ptrdiff_t>(waitsAtCommand);
      ASSERT_EQ(std::count(after, t.View.WaitTimes.end(), 0u), 0) << "seed " << seed << ": the search went on";
      ASSERT_EQ(CheckTable(t.Flow, t.State(), t.Deck), "") << "seed " << seed;
      if (closes) {
        ++closed;
        EXPECT_EQ(t.Flow.HandSerial(), handBefore);
      } else {
        ++replaced;
        EXPECT_EQ(t.Flow.HandSerial(), handBefore + 1);
        EXPECT_TRUE(t.Flow.Moves().Lines().empty()) << "seed " << seed << ": a move of the old hand was told";
        EXPECT_EQ(t.Deck.CardsInPile(COMPUTER_PILE), HAND_CARDS);
        EXPECT_EQ(t.Deck.CardsInPile(DISCARD_PILE), 1u);
      }
      break;
    }
  }
  EXPECT_GE(replaced, 4u);
  EXPECT_GE(closed, 2u);
}

// Master plays for the game, not the points: its table of chances must be
// a fair race. Hunted: a table indexed the wrong way round, chances that
// fall as a seat gains, and the target's edges.
TEST(MasterPlayer, GameOddsAreAFairRace) {
  for (uint32_t target : {100u, 250u}) {
    const GameOdds& odds = GameOdds::ForTarget(target);
    for (uint32_t own = 0; own < target; own += 7) {
      for (uint32_t other = 0; other < target; other += 5) {
        const double chance = odds.WinChance(own, other);
        ASSERT_NEAR(chance + odds.WinChance(other, own), 1.0, 1e-4) << own << ":" << other;
        ASSERT_GE(odds.WinChance(own + 1, other), chance - 1e-6) << own << ":" << other;
        ASSERT_LE(odds.WinChance(own, other + 1), chance + 1e-6) << own << ":" << other;
      }
    }
    EXPECT_NEAR(odds.WinChance(40, 40), 0.5, 1e-4);
    EXPECT_EQ(odds.AfterHand({target - 3, target - 1, target}, 3), 1.0);
    EXPECT_EQ(odds.AfterHand({target - 3, target - 1, target}, -1), 0.0);
    EXPECT_GT(odds.AfterHand({0, 0, target}, 10), odds.AfterHand({0, 0, target}, 0));
  }
  HeadlessTable table{3};
  table.Flow.NewGame(false, false);
  table.Record.RecordHand(COMPUTER_SEAT, 30);
  const GameStanding standing = StandingOf(table.Record, COMPUTER_SEAT);
  EXPECT_EQ(standing.Own, 30u);
  EXPECT_EQ(standing.Other, 0u);
}
