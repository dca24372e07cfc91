#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/move_history.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace {

uint32_t TopOfDiscards(const NxDeck& deck) {
  const int32_t top = deck.TopIndex(DISCARD_PILE);
  return top < 0 ? NoCard : deck.CardIndexAt(DISCARD_PILE, top);
}

bool Mentions(const std::string& line, uint32_t card) { return line.find(CardText(card)) != std::string::npos; }

// What the window tells of a computer step: the card it took from the
// discard pile and the card it discarded are named, and a hand's result
// ends with the sum that makes its points.
std::string CheckToldSteps(const HeadlessTable& table, uint32_t upcardBefore, uint32_t discardsBefore,
                           size_t messagesBefore) {
  const std::string move = table.Flow.Moves().LastComputerMove();
  const uint32_t discards = table.Deck.CardsInPile(DISCARD_PILE);
  if (discards < discardsBefore && !Mentions(move, upcardBefore)) return "a take from the discard pile untold: " + move;
  if (discards > discardsBefore && !Mentions(move, TopOfDiscards(table.Deck))) return "a discard untold: " + move;
  for (size_t m = messagesBefore; m < table.View.Messages.size(); ++m) {
    const auto& message = table.View.Messages[m];
    const std::string sum = "= " + std::to_string(table.State().Points) + ".";
    if ((message.Caption == KNOCK_CAPTION || message.Caption == GIN_CAPTION) &&
        message.Text.compare(message.Text.size() - std::min(message.Text.size(), sum.size()), sum.size(), sum) != 0)
      return "a result without its sum: " + message.Text;
  }
  return "";
}

struct GameOutcome {
  uint32_t Hands = 0;
  uint32_t Ties = 0;
  std::string Problem;
};

// Plays one whole game through the flow: the human's moves from the plain
// strategy, the computer's from the idle step, learning until it is done.
GameOutcome PlayGame(HeadlessTable& table) {
  GameOutcome outcome;
  table.Flow.NewGame(false, false);
  uint32_t previousDealer = table.State().Dealer;
  for (int step = 0; step < 200000; ++step) {
    GameState& s = TableScenario::State(table);
    if (s.Play == HumanTake || s.Play == HumanDiscard) {
      if (!PlayScriptedHumanMove(table.Flow)) {
        outcome.Problem = "human move refused in state " + std::to_string(s.Play);
        return outcome;
      }
    } else if (s.Play == Learning && table.Computer->GetHumanPasses() == 4) {
      ++outcome.Hands;
      if (s.StockExhausted) {
        ++outcome.Ties;
        if (s.Dealer != previousDealer) outcome.Problem = "a tie changed the dealer";
      } else if (table.Record.NumScores == 0 || table.Record.Row(table.Record.NumScores - 1).Winner != s.Dealer) {
        // Still true after the learning pause: nothing on the way there may
        // hand the deal to the loser.
        outcome.Problem = "the winner of the hand does not deal the next";
      }
      if (table.Record.GameOver) return outcome;
      previousDealer = s.Dealer;
      if (!table.Flow.NextHand()) {
        outcome.Problem = "next hand refused";
        return outcome;
      }
    } else {
      bool handWasOver = s.HandOver;
      uint32_t rows = table.Record.NumScores;
      size_t messages = table.View.Messages.size();
      const uint32_t upcard = TopOfDiscards(table.Deck), discards = table.Deck.CardsInPile(DISCARD_PILE);
      table.Flow.IdleStep();
      outcome.Problem = CheckToldSteps(table, upcard, discards, messages);
      // Stock warnings come only when the human is about to take.
      for (size_t m = messages; m < table.View.Messages.size(); ++m) {
        uint32_t text = table.View.Messages[m].TextId;
        if (text != THREE_LEFT && text != FOUR_LEFT) continue;
        if (s.Play != HumanTake || table.Deck.CardsInPile(STOCK_PILE) != (text == THREE_LEFT ? 3u : 4u))
          outcome.Problem = "stock warning out of turn";
      }
      // A scored hand names its winner as the next dealer.
      if (!handWasOver && s.HandOver && !s.StockExhausted && table.Record.NumScores == rows + 1 &&
          table.Record.Row(rows).Winner != s.Dealer)
        outcome.Problem = "winner does not deal next";
    }
    if (outcome.Problem.empty()) outcome.Problem = CheckTable(table.Flow, table.State(), table.Deck);
    if (!outcome.Problem.empty()) return outcome;
  }
  outcome.Problem = "game did not end";
  return outcome;
}

}  // namespace

class FullGames : public ::testing::TestWithParam<std::tuple<uint32_t, uint32_t, bool>> {};

TEST_P(FullGames, EveryCardStaysInOnePileUntilTheGameEnds) {
  auto [level, variation, elevenTen] = GetParam();
  ScratchInstallation install;
  HeadlessTable table(level, variation, elevenTen, 1000 + level * 7 + variation * 3 + elevenTen);
  GameOutcome outcome = PlayGame(table);
  EXPECT_EQ(outcome.Problem, "");
  EXPECT_TRUE(table.Record.GameOver);
  EXPECT_GT(outcome.Hands, 0u);
  // Every status shown is one of the flow's own texts.
  for (uint32_t id : table.View.Statuses) EXPECT_STRNE(ResourceString(id), "") << id;
  for (const auto& message : table.View.Messages) EXPECT_NE(message.Caption, DATA_FILE_CAPTION) << message.Text;
}

INSTANTIATE_TEST_SUITE_P(LevelsVariationsDeals, FullGames,
                         ::testing::Combine(::testing::Values(0u, 1u, 2u, 3u),
                                            ::testing::Values(uint32_t(SIMPLE_GIN), uint32_t(STANDARD_GIN),
                                                              uint32_t(OKLAHOMA_GIN)),
                                            ::testing::Bool()));
