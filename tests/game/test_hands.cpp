#include "test_hands.h"

#include <cstdlib>
#include <sstream>

#include "game/card_id.h"
#include "game/table_geometry.h"

std::vector<unsigned> Cards(const std::string& names) {
  std::vector<unsigned> cards;
  std::istringstream words(names);
  std::string word;
  while (words >> word) {
    auto card = ParseCard(word);
    if (!card) std::abort();
    cards.push_back(*card);
  }
  return cards;
}

std::unique_ptr<NxDeck> DealtTableDeck(int32_t seed) {
  auto deck = std::make_unique<NxDeck>(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
  deck->Random().Seed = seed;
  deck->Random().InitTable();
  deck->Shuffle();
  const uint32_t counts[4] = {10, 10, 31, 1};
  const bool faceUp[4] = {true, false, false, true};
  for (uint32_t pile = 0; pile < 4; ++pile) {
    const PileLayout& at = TABLE_PILES[pile];
    deck->Deal(pile, counts[pile], at.Position, at.Offset, at.BaseLayer, faceUp[pile]);
  }
  return deck;
}
