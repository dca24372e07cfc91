#include "table_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "game/score_iterators.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/seed.h"
#include "player/data_paths.h"
#include "player/network_data.h"

HeadlessTable::HeadlessTable(uint32_t level, uint32_t variation, bool elevenTen, int32_t seed)
    : TableObjects(View) {
  View.Watch(&State());
  Flow.SetVariation(variation);
  Flow.Settings.ElevenTenDeal = elevenTen;
  Seed(seed);
  SeatComputer(level);
  Computer->SelectNet(variation == SIMPLE_GIN ? LOW_NET : HIGH_NET);
}

std::string CheckTable(const GameFlow&, const GameState& state, const NxDeck& deck) {
  std::set<uint32_t> seen;
  uint32_t total = 0;
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, STOCK_PILE, DISCARD_PILE}) {
    for (uint32_t card : deck.PileCards(pile)) seen.insert(card);
    total += deck.CardsInPile(pile);
  }
  if (total != 52 || seen.size() != 52) return "cards lost or doubled: " + std::to_string(total);
  uint32_t human = deck.CardsInPile(HUMAN_PILE), computer = deck.CardsInPile(COMPUTER_PILE);
  switch (state.Play) {
    case HumanDiscard:
      if (human != 11 || computer != 10) return "human discard with " + std::to_string(human) + "/" + std::to_string(computer);
      break;
    case ComputerDiscard:
      if (computer != 11 || human != 10) return "computer discard with " + std::to_string(human) + "/" + std::to_string(computer);
      break;
    case HumanTake:
    case ComputerTake:
      if (human != 10 || computer != 10) return "take with " + std::to_string(human) + "/" + std::to_string(computer);
      break;
    default:
      if (human + computer != 20) return "hand over with " + std::to_string(human + computer) + " cards in hands";
  }
  if (state.HandOver != (state.Play == HandEnded || state.Play == Learning)) return "hand-over flag out of step";
  if (state.Gin && state.Undercut) return "gin and undercut together";
  return "";
}
