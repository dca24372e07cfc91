#include "table_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "game/hand_score.h"
#include "game/score_iterators.h"
#include "neural/file.h"
#include "neural/net.h"
#include "neural/seed.h"
#include "player/data_paths.h"
#include "player/network_data.h"

TempInstallation::TempInstallation() {
  static int counter = 0;
  Root = std::filesystem::path(::testing::TempDir()) /
         ("quorla-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(Root);
  std::filesystem::create_directories(Root / "PLAYER");
  network_data::WriteFreshDataFile(Path("QLDEFLT.QLF"), 11);
  std::filesystem::copy_file(Path("QLDEFLT.QLF"), PlayerPath("QLPLAY.QLF"));
  data_paths::SetInstallationDirectory(Root.string());
  data_paths::SetConfigurationDirectory((Root / "PLAYER").string());
}

TempInstallation::~TempInstallation() { std::filesystem::remove_all(Root); }

HeadlessTable::HeadlessTable(uint32_t level, uint32_t variation, bool elevenTen, int32_t seed)
    : TableObjects(View, nullptr) {
  View.Watch(&State);
  State.Variation = variation;
  Flow.Settings.ElevenTenDeal = elevenTen;
  Seed(seed);
  SeatComputer(level);
  Computer->SelectNet(variation == SIMPLE_GIN ? LOW_NET : HIGH_NET);
}

namespace {

std::vector<unsigned> PileCards(const NxDeck& deck, uint32_t pile) {
  std::vector<unsigned> cards;
  for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i) cards.push_back(deck.CardIndexAt(pile, i));
  return cards;
}

int32_t DeadwoodWithout(std::vector<unsigned> cards, size_t position) {
  cards.erase(cards.begin() + position);
  return NxHandScore(cards.data(), static_cast<unsigned>(cards.size())).BestDeadwood();
}

}  // namespace

bool PlayHumanMove(GameFlow& flow) {
  GameState& state = flow.State();
  NxDeck& deck = flow.Deck();
  if (state.Play == HumanTake) {
    int32_t top = deck.TopIndex(DISCARD_PILE);
    if (top >= 0 && UpcardMayBeTaken(state.Offer)) {
      std::vector<unsigned> hand = PileCards(deck, HUMAN_PILE);
      int32_t before = NxHandScore(hand.data(), 10).BestDeadwood();
      hand.push_back(deck.CardIndexAt(DISCARD_PILE, top));
      int32_t best = before;
      for (size_t i = 0; i + 1 < hand.size(); ++i) best = std::min(best, DeadwoodWithout(hand, i));
      if (best < before - 3) return flow.TakeUpcard();
    }
    if (PassAllowed(state.Offer)) return flow.Pass();
    return flow.TakeStockCard();
  }
  if (state.Play != HumanDiscard) return false;
  std::vector<unsigned> hand = PileCards(deck, HUMAN_PILE);
  size_t bestPosition = hand.size();
  int32_t best = 1000;
  for (size_t i = 0; i < hand.size(); ++i) {
    if (hand[i] == state.UpcardTaken) continue;
    int32_t deadwood = DeadwoodWithout(hand, i);
    if (deadwood < best) best = deadwood, bestPosition = i;
  }
  if (best <= static_cast<int32_t>(state.KnockLimit)) return flow.Knock(static_cast<uint32_t>(bestPosition));
  return flow.Discard(static_cast<uint32_t>(bestPosition));
}

std::string CheckTable(const GameFlow&, const GameState& state, const NxDeck& deck) {
  std::set<uint32_t> seen;
  uint32_t total = 0;
  for (uint32_t pile = 0; pile < 4; ++pile) {
    for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i) {
      seen.insert(deck.CardIndexAt(pile, i));
      ++total;
    }
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
