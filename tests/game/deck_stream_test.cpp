#include <gtest/gtest.h>

#include "game/deck.h"
#include "game/game_state.h"
#include "game/object_stream.h"
#include "game/table_geometry.h"
#include "test_hands.h"

namespace {
std::unique_ptr<NxDeck> FreshDeck() {
  return std::make_unique<NxDeck>(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
}

// Deals the two hands and the upcard but not yet the stock.
std::unique_ptr<NxDeck> PartlyDealtDeck() {
  auto deck = FreshDeck();
  deck->Random().Seed = 31337;
  deck->Random().InitTable();
  deck->Shuffle();
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, DISCARD_PILE}) {
    const PileLayout& at = TABLE_PILES[pile];
    deck->Deal(pile, pile == DISCARD_PILE ? 1 : 10, at.Position, at.Offset, at.BaseLayer, pile != COMPUTER_PILE);
  }
  deck->PickUp(HUMAN_PILE, 2);  // a held card is put back in place on writing
  deck->Drop();
  return deck;
}

std::vector<uint8_t> Written(const NxDeck& deck) {
  NxObjectWriter out;
  out.WriteHeader();
  NxDeck::Streamer::Write(out, deck);
  return out.Data();
}

bool ReadBack(const std::vector<uint8_t>& bytes, NxDeck& deck, std::string* error = nullptr) {
  NxObjectReader in(bytes);
  in.ReadHeader();
  bool ok = in.Good() && NxDeck::Streamer::Read(in, deck);
  if (error) *error = in.ErrorText();
  return ok && in.Good();
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offsets inside a written deck: header (5), '[', name length and "NxDeck"
// (4 + 6), version (4), then the deck's words.
constexpr size_t DECK_DATA = 5 + 1 + 4 + 6 + 4;
constexpr size_t CREATED_WORD = DECK_DATA;
constexpr size_t PILE_COUNT_WORD = DECK_DATA + 4 * 10;
constexpr size_t FIRST_CARD_INDEX = PILE_COUNT_WORD + 4 + 1 + 4 + 6 + 4;
}  // namespace

TEST(DeckStream, ARestoredDeckLooksTheSameAndDealsTheSameCards) {
  auto original = PartlyDealtDeck();
  auto restored = FreshDeck();
  ASSERT_TRUE(ReadBack(Written(*original), *restored));

  EXPECT_EQ(restored->NextDeal(), original->NextDeal());
  for (uint32_t i = 0; i < NUM_CARDS; ++i) {
    const NxCard& a = *original->CardInOrder(i);
    const NxCard& b = *restored->CardInOrder(i);
    ASSERT_EQ(a.Index(), b.Index());
    EXPECT_EQ(a.Rect(), b.Rect());
    EXPECT_EQ(a.Layer(), b.Layer());
    EXPECT_EQ(a.IsFaceUp(), b.IsFaceUp());
    EXPECT_EQ(a.IsVisible(), b.IsVisible());
  }
  for (uint32_t pile = 0; pile < TABLE_PILE_COUNT; ++pile) {
    EXPECT_EQ(restored->PileCards(pile), original->PileCards(pile));
    EXPECT_EQ(restored->Pile(pile).Bounds, original->Pile(pile).Bounds);
    EXPECT_EQ(restored->Pile(pile).Origin, NoCard);
  }
  ASSERT_EQ(restored->DisplayList().size(), original->DisplayList().size());
  for (size_t i = 0; i < original->DisplayList().size(); ++i)
    EXPECT_EQ(restored->DisplayList()[i]->Index(), original->DisplayList()[i]->Index());

  for (NxDeck* deck : {original.get(), restored.get()}) {
    const PileLayout& at = TABLE_PILES[STOCK_PILE];
    deck->Deal(STOCK_PILE, 31, at.Position, at.Offset, at.BaseLayer, false);
  }
  EXPECT_EQ(restored->PileCards(STOCK_PILE), original->PileCards(STOCK_PILE));
}

// What is stored is where each card stood and the corner each pile was
// dealt from. An eleven-card hand stored before hands were centred, laid
// out from that corner, reads back centred; a row broken up at a hand's
// end keeps its places.
TEST(DeckStream, AnElevenCardHandStoredUncentredReadsBackCentred) {
  auto deck = PartlyDealtDeck();
  deck->MoveCard(DISCARD_PILE, 0, HUMAN_PILE, true);
  const PileLayout& human = TABLE_PILES[HUMAN_PILE];
  const NxHand& eleven = deck->Pile(HUMAN_PILE);
  ASSERT_EQ(eleven.Count, 11u);
  const TRect centredBounds = eleven.Bounds;
  std::vector<TRect> centred;
  for (uint32_t i = 0; i < eleven.Count; ++i) {
    centred.push_back(eleven.CardAt(i)->Rect());
    const int32_t steps = static_cast<int32_t>(i);
    deck->MoveCardToPoint({human.Position.x + steps * human.Offset.x, human.Position.y}, HUMAN_PILE, i, true);
  }
  ASSERT_NE(eleven.CardAt(0)->Rect(), centred[0]);
  deck->MoveCardToPoint({LAID_OFF_LEFT, human.Position.y}, COMPUTER_PILE, 2, true);
  auto restored = FreshDeck();
  ASSERT_TRUE(ReadBack(Written(*deck), *restored));
  const NxHand& read = restored->Pile(HUMAN_PILE);
  EXPECT_EQ(read.Position, human.Position);
  EXPECT_EQ(read.Bounds, centredBounds);
  for (uint32_t i = 0; i < read.Count; ++i) EXPECT_EQ(read.CardAt(i)->Rect(), centred[i]) << i;
  for (uint32_t i = 0; i < deck->CardsInPile(COMPUTER_PILE); ++i)
    EXPECT_EQ(restored->Pile(COMPUTER_PILE).CardAt(i)->Rect(), deck->Pile(COMPUTER_PILE).CardAt(i)->Rect()) << i;
  EXPECT_EQ(restored->Pile(COMPUTER_PILE).Bounds, deck->Pile(COMPUTER_PILE).Bounds);
}

TEST(DeckStream, EachCardIsStoredOnce) {
  auto deck = PartlyDealtDeck();
  std::vector<uint8_t> bytes = Written(*deck);
  // 52 card objects and 4 piles; references are single words.
  const std::string card = "NxCard";
  size_t count = 0;
  for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), card.begin(), card.end())) != bytes.end(); ++at)
    ++count;
  EXPECT_EQ(count, 52u);
}

TEST(DeckStream, DamagedStreamsAreRejectedAndLeaveTheDeckAlone) {
  const std::vector<uint8_t> good = Written(*PartlyDealtDeck());
  struct Damage {
    const char* What;
    size_t At;
    uint32_t Word;
  };
  const Damage damages[] = {
      {"never created", CREATED_WORD, 0},
      {"pile count above 52", PILE_COUNT_WORD, 53},
      {"card id 52", FIRST_CARD_INDEX, 52},
      {"huge card id", FIRST_CARD_INDEX, 0xFFFFFFFF},
      {"class version", FIRST_CARD_INDEX - 4, 2},
      {"forward reference", good.size() - 5, 200},
      {"null reference", good.size() - 5, 0},
  };
  for (const Damage& damage : damages) {
    std::vector<uint8_t> bytes = good;
    PutWord(bytes, damage.At, damage.Word);
    auto deck = PartlyDealtDeck();
    std::vector<uint8_t> before = Written(*deck);
    std::string error;
    EXPECT_FALSE(ReadBack(bytes, *deck, &error)) << damage.What;
    EXPECT_FALSE(error.empty()) << damage.What;
    EXPECT_EQ(Written(*deck), before) << damage.What;
  }
  std::vector<uint8_t> renamed = good;
  renamed[DECK_DATA - 5] = 'X';  // "NxDecX"
  auto deck = FreshDeck();
  EXPECT_FALSE(ReadBack(renamed, *deck));
}

TEST(DeckStream, EveryTruncationIsReportedAsAnEarlyEnd) {
  const std::vector<uint8_t> good = Written(*PartlyDealtDeck());
  auto deck = FreshDeck();
  for (size_t length = 0; length < good.size(); ++length) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(length));
    std::string error;
    ASSERT_FALSE(ReadBack(cut, *deck, &error)) << length;
  }
  EXPECT_FALSE(deck->IsCreated());
}

TEST(DeckStream, RandomDamageNeverGetsPastTheChecksUnnoticed) {
  const std::vector<uint8_t> good = Written(*PartlyDealtDeck());
  NxRandomGenerator gen;
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<uint8_t> bytes = good;
    for (int flips = 1 + trial % 4; flips > 0; --flips)
      bytes[static_cast<size_t>(gen.rand()) % bytes.size()] = static_cast<uint8_t>(gen.rand());
    auto deck = FreshDeck();
    if (ReadBack(bytes, *deck)) {
      // Whatever was accepted is a consistent deck: a permutation in the piles.
      std::vector<bool> seen(NUM_CARDS);
      for (uint32_t pile = 0; pile < deck->PileCount(); ++pile)
        for (unsigned card : deck->PileCards(pile)) {
          ASSERT_FALSE(seen[card]);
          seen[card] = true;
        }
    }
  }
}

TEST(ObjectStream, WordsStringsAndDoublesRoundTrip) {
  NxObjectWriter out;
  out.WriteHeader();
  out.WriteWord(0x01020304);
  out.WriteInt(-5);
  out.WriteString(std::string("Quorla"));
  out.WriteString(std::nullopt);
  out.WriteDouble(0.504);
  const std::vector<uint8_t>& bytes = out.Data();
  EXPECT_EQ(bytes[0], 0x3A);
  EXPECT_EQ(bytes[1], 0x01);
  EXPECT_EQ(bytes[2], 0x01);
  EXPECT_EQ(bytes[5], 0x04);  // little-endian
  NxObjectReader in(bytes);
  in.ReadHeader();
  EXPECT_EQ(in.ReadWord(), 0x01020304u);
  EXPECT_EQ(in.ReadInt(), -5);
  EXPECT_EQ(in.ReadString(), std::optional<std::string>("Quorla"));
  EXPECT_EQ(in.ReadString(), std::nullopt);
  EXPECT_EQ(in.ReadDouble(), 0.504);
  EXPECT_TRUE(in.Good() && in.AtEnd());
  EXPECT_EQ(in.ReadWord(), 0u);
  EXPECT_FALSE(in.Good());
}

TEST(ObjectStream, AStringLongerThanTheStreamIsAnError) {
  NxObjectWriter out;
  out.WriteWord(0x7FFFFFFF);
  NxObjectReader in(out.Data());
  EXPECT_EQ(in.ReadString(), std::nullopt);
  EXPECT_FALSE(in.Good());
}

TEST(GameStateStream, FlowFieldsRoundTripAndAreChecked) {
  GameState state;
  state.Play = ComputerDiscard;
  state.KnockLimit = 7;
  state.Dealer = 1;
  state.Offer = OFFER_TO_DEALER;
  state.UpcardTaken = 17;
  state.Difference = 13;
  state.HumanOutcome = 0.42;
  state.Variation = OKLAHOMA_GIN;
  state.GameTarget = 250;
  state.Selection = SELECT_KNOWN_CARD;
  state.SelectionCard = 40;
  state.LaidOff.Count = 2;
  state.LaidOff.Player = 1;
  state.LaidOff.Cards[0] = 3;
  state.LaidOff.Cards[1] = 8;
  NxObjectWriter out;
  state.WriteFlowFields(out);
  state.WriteSheetFields(out);
  EXPECT_EQ(out.Data().size(), 96u + 4 * 3 + 4 * 2);

  GameState read;
  NxObjectReader in(out.Data());
  ASSERT_TRUE(read.ReadFlowFields(in));
  ASSERT_TRUE(read.ReadSheetFields(in));
  EXPECT_EQ(read.Play, ComputerDiscard);
  EXPECT_EQ(read.UpcardTaken, 17u);
  EXPECT_EQ(read.Difference, 13);
  EXPECT_EQ(read.HumanOutcome, 0.42);
  EXPECT_EQ(read.GameTarget, 250u);
  EXPECT_EQ(read.LaidOff.Count, 2u);
  EXPECT_EQ(read.LaidOff.Cards[1], 8u);

  std::vector<uint8_t> bad = out.Data();
  PutWord(bad, 0, 6);  // no such play state
  GameState untouched;
  NxObjectReader badIn(bad);
  EXPECT_FALSE(untouched.ReadFlowFields(badIn));
  EXPECT_EQ(untouched.Play, HumanTake);
}
