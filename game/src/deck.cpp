#include "game/deck.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "neural/check.h"

NxDeck::NxDeck(uint32_t pileCount, uint32_t backId, TRect table, TSize cardSize)
    : NumPiles(pileCount), BackPictureId(backId), CardDims(cardSize), TableRect(table) {
  // Seeded once per deck from the calendar time; never again per hand.
  Generator.Seed = static_cast<int32_t>(std::time(nullptr) % NxRandomGenerator::MODULUS);
  Generator.InitTable();
}

NxDeck::~NxDeck() = default;

void NxDeck::CreateCards() {
  if (Piles.empty()) {
    for (uint32_t i = 0; i < NUM_CARDS; ++i) {
      CardStore[i] = std::make_unique<NxCard>(this, i, CardDims);
      Order[i] = CardStore[i].get();
    }
    Piles.resize(NumPiles);
    for (NxHand& pile : Piles) pile.Reset();
  }
  Created = true;
}

void NxDeck::PutBackHeldCard() {
  if (!Held) return;
  NxHand& pile = PileRef(HeldPile);
  if (pile.Count < NxHand::CAPACITY) pile.Insert(pile.Count, Held);
  Held = nullptr;
}

void NxDeck::Gather() {
  PutBackHeldCard();
  for (NxHand& pile : Piles) {
    for (uint32_t i = 0; i < pile.Count; ++i) pile.Cards[i]->Hide();
    pile.Count = 0;
  }
  Display.clear();
  if (Observer) Observer->Gathered();
}

void NxDeck::Shuffle() {
  CreateCards();
  Gather();
  NextDealPos = 0;
  // Each position swaps with any of the 52 (not Fisher-Yates): the order a
  // seed gives is part of the game's behaviour.
  for (uint32_t i = 0; i < NUM_CARDS; ++i) {
    std::swap(Order[i], Order[ShuffleIndex(Generator.rand())]);
  }
  for (NxHand& pile : Piles) pile.Reset();
  Held = nullptr;
}

void NxDeck::Deal(uint32_t pile, uint32_t count, TPoint position, TPoint offset, int32_t baseLayer, bool faceUp) {
  CreateCards();
  NxHand& hand = PileRef(pile);
  NX_CHECK(count <= NxHand::CAPACITY);
  for (uint32_t i = 0; i < hand.Count; ++i) hand.Cards[i]->Hide();
  hand.Count = 0;
  hand.Position = position;
  hand.FaceUp = faceUp ? 1 : 0;
  hand.BaseLayer = baseLayer;
  hand.Offset = offset;
  hand.Stacked = offset.x == 0 && offset.y == 0;
  for (uint32_t i = 0; i < count; ++i) {
    hand.Insert(hand.Count, Order[NextDealPos]);
    NextDealPos = (NextDealPos + 1) % NUM_CARDS;
  }
  Dealing = true;
  hand.Layout(CardDims);
  Dealing = false;
  MoveDone(true);
  LaidOut = true;
}

NxHand& NxDeck::PileRef(uint32_t pile) {
  NX_CHECK(pile < Piles.size());
  return Piles[pile];
}

const NxHand& NxDeck::Pile(uint32_t pile) const {
  NX_CHECK(pile < Piles.size());
  return Piles[pile];
}

uint32_t NxDeck::CardIndexAt(uint32_t pile, uint32_t position) const {
  return Pile(pile).CardAt(position)->Index();
}

std::vector<uint32_t> NxDeck::PileCards(uint32_t pile) const {
  const NxHand& hand = Pile(pile);
  std::vector<uint32_t> cards(hand.Count);
  for (uint32_t i = 0; i < hand.Count; ++i) cards[i] = hand.Cards[i]->Index();
  return cards;
}

uint64_t NxDeck::PileMask(uint32_t pile) const {
  const NxHand& hand = Pile(pile);
  uint64_t mask = 0;
  for (uint32_t i = 0; i < hand.Count; ++i) mask |= CardBit(hand.Cards[i]->Index());
  return mask;
}

std::optional<uint32_t> NxDeck::PositionOf(uint32_t pile, uint32_t card) const {
  const NxHand& hand = Pile(pile);
  for (uint32_t i = 0; i < hand.Count; ++i)
    if (hand.Cards[i]->Index() == card) return i;
  return std::nullopt;
}

const NxCard* NxDeck::Card(uint32_t index) const {
  NX_CHECK(index < NUM_CARDS);
  return CardStore[index].get();
}

const NxCard* NxDeck::CardInOrder(uint32_t position) const {
  NX_CHECK(position < NUM_CARDS);
  return Order[position];
}
