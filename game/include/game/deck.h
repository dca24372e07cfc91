#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/card.h"
#include "game/card_picture_ids.h"
#include "game/deck_observer.h"
#include "game/hand.h"
#include "game/rect.h"
#include "game/seats.h"
#include "neural/random.h"

class NxObjectReader;
class NxObjectWriter;

// Layers above every pile: a card moved by the program, a card held by the mouse.
constexpr int32_t MOVING_LAYER = 998;
constexpr int32_t HELD_LAYER = 1000;

struct CardHit {
  uint32_t Position;
  TPoint Corner;
};

// The 52 cards for the life of the table: their shuffled order, the piles
// and the cards' display order. Whoever shows the table watches it as its
// observer; without one the deck keeps its lists and nothing is drawn.
class NxDeck {
 public:
  NxDeck(uint32_t pileCount, uint32_t backId, TRect table, TSize cardSize);
  virtual ~NxDeck();

  NxDeck(const NxDeck&) = delete;
  NxDeck& operator=(const NxDeck&) = delete;

  // --- life cycle and shuffling
  void CreateCards();
  void Shuffle();
  void Gather();
  NxRandomGenerator& Random() { return Generator; }
  // The deck position a generator value r (0..714024) swaps with.
  static uint32_t ShuffleIndex(int32_t r) {
    return static_cast<uint32_t>(r * (1.0 / NxRandomGenerator::MODULUS) * NUM_CARDS);
  }

  // --- pile operations
  void Deal(uint32_t pile, uint32_t count, TPoint position, TPoint offset, int32_t baseLayer, bool faceUp);
  // -1 for an empty pile without a held card.
  int32_t TopIndex(uint32_t pile) const;
  uint32_t HeldCardIndex() const;
  void PickUp(uint32_t pile, uint32_t position);
  void Drag(TPoint point, bool useMask);
  void Retarget(uint32_t pile, bool faceUp);
  void Drop();
  // Puts the held card back where it was picked up, as if it had never left.
  void ReturnHeldCard();
  void MoveCard(uint32_t fromPile, uint32_t position, uint32_t toPile, bool faceUp);
  void Arrange(uint32_t pile, const uint32_t* order, uint32_t n);
  void SetPileFace(uint32_t pile, bool faceUp);
  void RefreshPile(uint32_t pile);
  void MoveCardToPoint(TPoint point, uint32_t pile, uint32_t position, bool useMask);
  std::optional<CardHit> CardAtPoint(TPoint point, uint32_t pile) const;
  bool CoversPile(const TRect& rect, uint32_t pile, double percent) const;

  // --- reading the piles
  uint32_t PileCount() const { return NumPiles; }
  const NxHand& Pile(uint32_t pile) const;
  uint32_t CardIndexAt(uint32_t pile, uint32_t position) const;
  uint32_t CardsInPile(uint32_t pile) const { return Pile(pile).Count; }
  // Card ids bottom to top; a card held with the mouse is in no pile.
  std::vector<uint32_t> PileCards(uint32_t pile) const;
  uint64_t PileMask(uint32_t pile) const;  // one bit per card id
  std::optional<uint32_t> PositionOf(uint32_t pile, uint32_t card) const;
  const NxCard* Card(uint32_t index) const;       // by card id
  const NxCard* CardInOrder(uint32_t position) const;  // by deck order
  const NxCard* HeldCard() const { return Held; }
  uint32_t NextDeal() const { return NextDealPos; }
  bool IsCreated() const { return Created; }
  bool IsLaidOut() const { return LaidOut; }
  TSize CardSize() const { return CardDims; }
  uint32_t BackId() const { return BackPictureId; }
  const TRect& Table() const { return TableRect; }
  // The table area the picture is drawn for; it is stored with the deck.
  void SetTable(const TRect& table) { TableRect = table; }

  // --- what whoever shows the table sees
  // Null for nobody; an observer leaves before it is gone.
  void SetObserver(NxDeckObserver* observer) { Observer = observer; }
  void SetCardBack(uint32_t backId);
  // Visible cards in layer order, the order they are drawn in.
  const std::vector<NxCard*>& DisplayList() const { return Display; }
  // Cards dealt into a spread pile set off from here, one after another.
  void SetDealOrigin(TPoint origin) { DealFrom = origin; }
  TPoint DealOrigin() const { return DealFrom; }

  // Called by the cards.
  void CardChanged(const NxCard& card);
  // Before a shown card moves to `to`, and after a hidden one is placed.
  void CardMoving(const NxCard& card, TPoint to);
  void CardPlaced(const NxCard& card);
  void InsertIntoDisplay(NxCard* card);
  void RemoveFromDisplay(NxCard* card);

  // --- streaming
  struct Streamer {
    static constexpr uint32_t VERSION = 1;
    static constexpr const char* NAME = "NxDeck";
    static void Write(NxObjectWriter& out, const NxDeck& deck);
    // Restores a deck written by Write into an existing deck. On a damaged
    // stream the reader carries the error and the deck is left unchanged.
    static bool Read(NxObjectReader& in, NxDeck& deck);
  };

 private:
  struct StoredCard;
  struct StoredPile;
  struct StoredDeck;
  static bool ReadStored(NxObjectReader& in, StoredDeck& stored);
  void Restore(const StoredDeck& stored);
  void PlaceStoredRow(NxHand& pile);

  NxHand& PileRef(uint32_t pile);
  void PutBackHeldCard();
  // Puts the held card into its pile at `slot` and lays the pile out again.
  void SettleHeldCard(uint32_t slot);
  // One of the table's moves is complete: the observer may show it.
  void MoveDone(bool useMask);

  std::array<std::unique_ptr<NxCard>, NUM_CARDS> CardStore;  // by card id
  std::array<NxCard*, NUM_CARDS> Order{};                      // deck order
  NxCard* Held = nullptr;
  uint32_t NextDealPos = 0;
  uint32_t NumPiles;
  uint32_t HeldPile = 0;
  uint32_t BackPictureId;
  bool Created = false;
  bool LaidOut = false;
  std::vector<NxHand> Piles;
  std::vector<NxCard*> Display;
  TSize CardDims;
  TRect TableRect;
  NxDeckObserver* Observer = nullptr;
  NxRandomGenerator Generator;
  bool Dealing = false;
  TPoint DealFrom{0, 0};
};
